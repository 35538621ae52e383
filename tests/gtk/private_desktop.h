#pragma once
// A private desktop for tests of the GTK driver, in this process's environment: Xvfb with openbox on a free
// display number, or a headless weston; its own runtime, home and settings folders. Started as child
// processes and stopped by their PIDs. A GTK driver opened after start() talks to it.

#include <sys/types.h>

#include <string>
#include <vector>

namespace raziz::test {

class PrivateDesktop {
 public:
  enum class Kind { x11, wayland };
  explicit PrivateDesktop(Kind kind);
  ~PrivateDesktop();
  PrivateDesktop(const PrivateDesktop&) = delete;
  PrivateDesktop& operator=(const PrivateDesktop&) = delete;

  // Starts the servers, waits until they are ready and points DISPLAY or WAYLAND_DISPLAY at them.
  bool start();
  const std::string& log() const { return log_; }  // what went wrong, when start() failed

 private:
  bool start_x11();
  bool start_wayland();

  Kind kind_;
  std::string folder_;
  std::vector<pid_t> pids_;  // in start order
  std::string log_;
};

}  // namespace raziz::test
