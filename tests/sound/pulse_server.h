#pragma once
// A private PulseAudio server with one null sink, for tests: its own runtime folder, home and
// socket, started as a child process and stopped by its PID. Recordings come from the sink's
// monitor through parec.
#include <sys/types.h>

#include <string>
#include <vector>

namespace raziz::test {

class PulseServer {
 public:
  explicit PulseServer(const std::string& folder);  // folder must exist and be empty
  ~PulseServer();
  PulseServer(const PulseServer&) = delete;
  PulseServer& operator=(const PulseServer&) = delete;

  // Starts the server and waits (polling) until its socket accepts connections.
  bool start();
  void kill_hard();  // SIGKILL, as a crash would
  void stop();       // SIGTERM and wait
  std::string server() const { return "unix:" + socket_; }
  static constexpr const char* kSink = "raziz_test";

 private:
  std::string folder_;
  std::string socket_;
  pid_t pid_ = -1;
};

class Recorder {
 public:
  Recorder(const PulseServer& server, const std::string& file);
  ~Recorder();
  bool start();
  void stop();
  // Interleaved stereo float samples recorded so far.
  std::vector<float> samples() const;
  // Frames recorded so far, from the file's size (cheap enough to poll).
  std::size_t frames() const;

 private:
  std::string server_;
  std::string file_;
  pid_t pid_ = -1;
};

// Polls every 20 ms until done() or the time-out; returns done().
template <typename F>
bool wait_until(F done, double seconds);

}  // namespace raziz::test

#include <chrono>
#include <thread>

template <typename F>
bool raziz::test::wait_until(F done, double seconds) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
