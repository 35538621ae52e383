#include "tests/sound/pulse_server.h"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace raziz::test {
namespace {

// Starts a program with its standard output (and error) sent to files; returns its PID.
// Everything is prepared before fork: the test process has other threads, so the child only
// redirects and execs.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, const std::string& out,
            const std::string& err) {
  std::vector<std::string> environment(env);
  for (char** e = environ; *e; ++e) {
    const std::string kv(*e);
    const std::string key = kv.substr(0, kv.find('=') + 1);
    bool overridden = false;
    for (const std::string& o : env) overridden |= o.rfind(key, 0) == 0;
    if (!overridden) environment.push_back(kv);
  }
  std::vector<char*> args, envp;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const std::string& kv : environment) envp.push_back(const_cast<char*>(kv.c_str()));
  envp.push_back(nullptr);
  const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  const pid_t pid = fork();
  if (pid == 0) {
    if (o >= 0) dup2(o, 1);
    if (e >= 0) dup2(e, 2);
    execvpe(args[0], args.data(), envp.data());
    _exit(127);
  }
  if (o >= 0) close(o);
  if (e >= 0) close(e);
  return pid;
}

void end(pid_t& pid, int signal_number) {
  if (pid <= 0) return;
  kill(pid, signal_number);
  int status = 0;
  const bool gone = wait_until([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 5.0);
  if (!gone) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  pid = -1;
}

// The server's main thread, which takes in the clients' samples, runs at normal priority; under a
// parallel build on two cores it starves for tens of milliseconds and the sink underruns, which
// would measure the machine's load rather than the program. Give every thread of the server
// real-time priority, as a lightly loaded desktop effectively does.
void raise_threads(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = opendir(tasks.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    const pid_t tid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (sched_getscheduler(tid) != SCHED_OTHER) continue;
    sched_param param{};
    param.sched_priority = 20;
    sched_setscheduler(tid, SCHED_RR, &param);
  }
  closedir(dir);
}

bool accepts(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

}  // namespace

PulseServer::PulseServer(const std::string& folder) : folder_(folder), socket_(folder + "/native") {
  mkdir((folder_ + "/runtime").c_str(), 0700);
  mkdir((folder_ + "/home").c_str(), 0700);
}

PulseServer::~PulseServer() { stop(); }

bool PulseServer::start() {
  unlink(socket_.c_str());
  // Blocks are copied rather than shared through memfd segments: on a busy machine the server otherwise loses
  // track of a block passed on to the recorder and aborts on an assertion when the playing client goes away.
  pid_ = spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                "--disallow-module-loading=no", "--log-target=stderr", "--enable-memfd=no",
                std::string("--load=module-null-sink sink_name=") + kSink + " rate=48000 format=float32le channels=2",
                "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket_},
               {"XDG_RUNTIME_DIR=" + folder_ + "/runtime", "HOME=" + folder_ + "/home",
                "PULSE_RUNTIME_PATH=" + folder_ + "/runtime"},
               folder_ + "/pulseaudio.out", folder_ + "/pulseaudio.log");
  if (pid_ < 0) return false;
  if (!wait_until([&] { return accepts(socket_) || waitpid(pid_, nullptr, WNOHANG) == pid_; }, 15.0) ||
      !accepts(socket_))
    return false;
  raise_threads(pid_);
  return true;
}

void PulseServer::kill_hard() { end(pid_, SIGKILL); }
void PulseServer::stop() { end(pid_, SIGTERM); }

Recorder::Recorder(const PulseServer& server, const std::string& file) : server_(server.server()), file_(file) {}
Recorder::~Recorder() { stop(); }

bool Recorder::start() {
  // Real-time too: a recorder that falls behind drops samples, which would read as the program's gaps.
  pid_ = spawn(
      {"chrt", "--rr", "20", "parec", "--server=" + server_, std::string("--device=") + PulseServer::kSink + ".monitor",
       "--raw", "--format=float32le", "--rate=48000", "--channels=2", "--latency-msec=20"},
      {}, file_, file_ + ".log");
  return pid_ > 0;
}

void Recorder::stop() { end(pid_, SIGINT); }

std::size_t Recorder::frames() const {
  struct stat info {};
  if (stat(file_.c_str(), &info) != 0) return 0;
  return static_cast<std::size_t>(info.st_size) / 8;
}

std::vector<float> Recorder::samples() const {
  std::ifstream in(file_, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<float> v(bytes.size() / 8 * 2);
  std::memcpy(v.data(), bytes.data(), v.size() * sizeof(float));
  return v;
}

}  // namespace raziz::test
