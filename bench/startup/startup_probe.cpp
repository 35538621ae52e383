// Starts a program and measures how long it takes until a given screen pixel shows a given colour (the
// program's window painted there), then how much memory the idle program holds.
//
//   startup-probe X Y RRGGBB SETTLE_MS -- PROGRAM [ARGS...]
// prints "painted_ms <ms> rss_kb <kB>" and ends the program with SIGTERM. Exit 1 on a time-out (10 s).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

long rss_kb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  long value = -1;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      break;
    }
    status.ignore(1 << 12, '\n');
  }
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7 || std::string(argv[5]) != "--") {
    std::fprintf(stderr, "usage: startup-probe X Y RRGGBB SETTLE_MS -- PROGRAM [ARGS...]\n");
    return 2;
  }
  const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
  const unsigned long want = std::strtoul(argv[3], nullptr, 16);
  const int settle_ms = std::atoi(argv[4]);
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "startup-probe: cannot open a display\n");
    return 2;
  }
  const Window root = DefaultRootWindow(dpy);

  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[6], argv + 6);
    _exit(127);
  }
  // A benchmark may poll: 1 ms steps bound the error of what is measured, not the program's own behaviour.
  double painted_ms = -1;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    XImage* img = XGetImage(dpy, root, x, y, 1, 1, AllPlanes, ZPixmap);
    const unsigned long pixel = img ? (XGetPixel(img, 0, 0) & 0xffffff) : 0;
    if (img) XDestroyImage(img);
    if (pixel == want) {
      painted_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(settle_ms));
  const long rss = rss_kb(pid);
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  XCloseDisplay(dpy);
  if (painted_ms < 0) {
    std::fprintf(stderr, "startup-probe: the pixel never showed %06lx\n", want);
    return 1;
  }
  std::printf("painted_ms %.1f rss_kb %ld\n", painted_ms, rss);
  return 0;
}
