// How long the program takes to answer a click: reads the colour of a small square of the screen (a lamp),
// clicks somewhere through the XTEST extension (the tone button), then watches the square until its colour
// changes between red and green. Prints the milliseconds from the click to the change.
//
//   raziz-e2e-click-latency CLICK_X CLICK_Y WATCH_X WATCH_Y [TIMEOUT_MS]
//
// Exit status 0 when the colour changed, 1 when it did not within the time-out (default 2000 ms), 2 on a
// usage or display error.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

enum class Colour { red, green, other };

const char* Name(Colour c) { return c == Colour::red ? "red" : c == Colour::green ? "green" : "other"; }

// The mean colour of the 16 x 16 square around (x, y), classified as the e2e scripts' lamp_colour does.
Colour ColourAt(Display* display, int x, int y) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x - 8, y - 8, 16, 16, AllPlanes, ZPixmap);
  if (!image) return Colour::other;
  long r = 0, g = 0;  // red against green tells the lamps apart
  for (int j = 0; j < 16; ++j) {
    for (int i = 0; i < 16; ++i) {
      const unsigned long pixel = XGetPixel(image, i, j);
      r += static_cast<long>((pixel & image->red_mask) >> 16);
      g += static_cast<long>((pixel & image->green_mask) >> 8);
    }
  }
  XDestroyImage(image);
  r /= 256;
  g /= 256;
  if (r > g + 60) return Colour::red;
  if (g > r + 60) return Colour::green;
  return Colour::other;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: raziz-e2e-click-latency CLICK_X CLICK_Y WATCH_X WATCH_Y [TIMEOUT_MS]\n");
    return 2;
  }
  const int click_x = std::atoi(argv[1]), click_y = std::atoi(argv[2]);
  const int watch_x = std::atoi(argv[3]), watch_y = std::atoi(argv[4]);
  const int timeout_ms = argc > 5 ? std::atoi(argv[5]) : 2000;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "raziz-e2e-click-latency: cannot open the display\n");
    return 2;
  }
  int event_base, error_base, major, minor;
  if (!XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) {
    std::fprintf(stderr, "raziz-e2e-click-latency: the display has no XTEST\n");
    return 2;
  }

  const Colour before = ColourAt(display, watch_x, watch_y);
  XTestFakeMotionEvent(display, -1, click_x, click_y, CurrentTime);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XSync(display, False);
  const auto clicked = std::chrono::steady_clock::now();

  for (;;) {
    const Colour now = ColourAt(display, watch_x, watch_y);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - clicked).count();
    if (now != before) {
      std::printf("%.1f\n", ms);
      return 0;
    }
    if (ms > timeout_ms) {
      std::printf("the square stayed %s for %d ms\n", Name(before), timeout_ms);
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}
