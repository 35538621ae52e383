#include "tests/gtk/private_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace raziz::test {
namespace {

template <typename F>
bool wait_until(F done, double seconds) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// Everything is prepared before fork: the child only redirects and execs. `keep_fd` stays open in the
// child (Xvfb writes its display number there).
pid_t spawn(const std::vector<std::string>& argv, const std::string& log, int keep_fd = -1) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  const pid_t pid = fork();
  if (pid == 0) {
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    if (keep_fd >= 0) fcntl(keep_fd, F_SETFD, 0);
    execvp(args[0], args.data());
    _exit(127);
  }
  if (out >= 0) close(out);
  return pid;
}

void stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  if (!wait_until([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 5.0)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
}

bool accepts(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

// True once a window manager announces itself on the root window.
bool window_manager_running(const std::string& display) {
  Display* dpy = XOpenDisplay(display.c_str());
  if (!dpy) return false;
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = nullptr;
  const bool ok = XGetWindowProperty(dpy, DefaultRootWindow(dpy), XInternAtom(dpy, "_NET_SUPPORTING_WM_CHECK", False),
                                     0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                  count == 1;
  if (data) XFree(data);
  XCloseDisplay(dpy);
  return ok;
}

}  // namespace

PrivateDesktop::PrivateDesktop(Kind kind) : kind_(kind) {
  std::string pattern = (std::filesystem::temp_directory_path() / "raziz-desktop-XXXXXX").string();
  if (mkdtemp(pattern.data())) folder_ = pattern;
}

PrivateDesktop::~PrivateDesktop() {
  for (auto it = pids_.rbegin(); it != pids_.rend(); ++it) stop(*it);
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool PrivateDesktop::start() {
  if (folder_.empty()) return false;
  // Neither the servers nor the GTK of this process may see the real user's settings or sessions.
  for (const char* sub : {"/home", "/config", "/data", "/cache", "/run"}) mkdir((folder_ + sub).c_str(), 0700);
  setenv("HOME", (folder_ + "/home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (folder_ + "/data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (folder_ + "/cache").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (folder_ + "/run").c_str(), 1);
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  setenv("NO_AT_BRIDGE", "1", 1);
  setenv("GDK_GL", "disable", 1);
  return kind_ == Kind::x11 ? start_x11() : start_wayland();
}

bool PrivateDesktop::start_x11() {
  unsetenv("WAYLAND_DISPLAY");
  setenv("GDK_BACKEND", "x11", 1);
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  const std::string xlog = folder_ + "/xvfb.log";
  pids_.push_back(spawn(
      {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"},
      xlog, fds[1]));
  close(fds[1]);
  std::string number;
  pollfd pfd{fds[0], POLLIN, 0};
  char c;
  while (poll(&pfd, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) {
    log_ = "Xvfb gave no display number (see " + xlog + ")";
    return false;
  }
  const std::string display = ":" + number;
  setenv("DISPLAY", display.c_str(), 1);
  pids_.push_back(spawn({"openbox", "--sm-disable"}, folder_ + "/openbox.log"));
  if (!wait_until([&] { return window_manager_running(display); }, 15.0)) {
    log_ = "openbox did not start on " + display;
    return false;
  }
  return true;
}

bool PrivateDesktop::start_wayland() {
  unsetenv("DISPLAY");
  setenv("GDK_BACKEND", "wayland", 1);
  const std::string socket = "raziz-test";
  pids_.push_back(spawn({"weston", "--backend=headless-backend.so", "--use-pixman", "--socket=" + socket,
                         "--width=1280", "--height=1024", "--idle-time=0"},
                        folder_ + "/weston.log"));
  if (!wait_until([&] { return accepts(folder_ + "/run/" + socket); }, 15.0)) {
    log_ = "weston did not start (see " + folder_ + "/weston.log)";
    return false;
  }
  setenv("WAYLAND_DISPLAY", socket.c_str(), 1);
  return true;
}

}  // namespace raziz::test
