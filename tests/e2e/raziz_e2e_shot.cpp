// raziz-e2e-shot FILE.png: the whole X screen ($DISPLAY) as an 8-bit RGB PNG, rows unfiltered.
//
// The end-to-end checks take a screenshot for nearly every judgement while a tone plays. A general image
// tool takes tens of megabytes of fresh memory for each; on a virtual machine without kernel preemption,
// touching that much new memory held the CPUs from real-time threads for 10 to 20 ms at a time, enough to
// run a 16 ms sound queue dry. This reads the screen through shared memory and writes it with fast
// compression and no row filters, which the harness decodes without another tool.
// Exit status: 0 written, 1 no display or no image, 2 usage.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <png.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdio>
#include <vector>

namespace {

// The shift that brings a visual's colour mask down to its lowest bit.
int shift_of(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1UL)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

bool write_png(const char* path, int width, int height, const std::vector<unsigned char>& rgb) {
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (info && !setjmp(png_jmpbuf(png))) {
    png_init_io(png, out);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
      png_write_row(png, const_cast<png_bytep>(rgb.data() + static_cast<std::size_t>(y) * width * 3));
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(out) == 0 && ok;
}

struct Capture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

Capture to_rgb(XImage* image) {
  Capture capture{image->width, image->height, {}};
  const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
  int shifts[3], maxima[3];
  for (int c = 0; c < 3; ++c) {
    shifts[c] = shift_of(masks[c]);
    maxima[c] = static_cast<int>(masks[c] >> shifts[c]);
  }
  capture.rgb.resize(static_cast<std::size_t>(capture.width) * capture.height * 3);
  for (int y = 0; y < capture.height; ++y)
    for (int x = 0; x < capture.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      unsigned char* p = &capture.rgb[(static_cast<std::size_t>(y) * capture.width + x) * 3];
      for (int c = 0; c < 3; ++c) {
        const int v = static_cast<int>((pixel & masks[c]) >> shifts[c]);
        p[c] = static_cast<unsigned char>(maxima[c] > 0 ? (v * 255 + maxima[c] / 2) / maxima[c] : 0);
      }
    }
  return capture;
}

// Through shared memory where the server offers it: several megabytes sent over the X socket took the
// kernel long stretches of unpreemptible work.
bool read_shared(Display* display, Window root, const XWindowAttributes& attributes, Capture& capture) {
  if (!XShmQueryExtension(display)) return false;
  const auto width = static_cast<unsigned>(attributes.width), height = static_cast<unsigned>(attributes.height);
  XShmSegmentInfo segment{};
  XImage* image = XShmCreateImage(display, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap, nullptr,
                                  &segment, width, height);
  if (!image) return false;
  bool read = false;
  segment.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
  if (segment.shmid >= 0) {
    void* address = shmat(segment.shmid, nullptr, 0);
    // Marked for removal at once: it goes when both sides have detached, even if we die first.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (address != reinterpret_cast<void*>(-1)) {
      segment.shmaddr = image->data = static_cast<char*>(address);
      segment.readOnly = False;
      if (XShmAttach(display, &segment)) {
        read = XShmGetImage(display, root, image, 0, 0, AllPlanes);
        if (read) capture = to_rgb(image);
        XShmDetach(display, &segment);
        XSync(display, False);
      }
      shmdt(address);
    }
  }
  image->data = nullptr;
  XDestroyImage(image);
  return read;
}

bool read_screen(Display* display, Capture& capture) {
  const Window root = DefaultRootWindow(display);
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, root, &attributes)) return false;
  if (read_shared(display, root, attributes, capture)) return true;
  XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!image) return false;
  capture = to_rgb(image);
  XDestroyImage(image);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: raziz-e2e-shot FILE.png\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "raziz-e2e-shot: cannot open the display\n");
    return 1;
  }
  Capture capture;
  const bool read = read_screen(display, capture);
  XCloseDisplay(display);
  if (!read) {
    std::fprintf(stderr, "raziz-e2e-shot: the screen could not be read\n");
    return 1;
  }
  if (!write_png(argv[1], capture.width, capture.height, capture.rgb)) {
    std::fprintf(stderr, "raziz-e2e-shot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
