// PulseAudio output through libpulse's asynchronous API: the library's one mainloop thread asks for
// data and the renderer fills the server's shared-memory block in place, so nothing else wakes per
// buffer. libpulse (with the dozen libraries it pulls in) is loaded when a stream is first opened, on
// the output keeper's thread, not when the program starts.
#include <dlfcn.h>
#include <sched.h>

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

#include "audio/device/output_stream.h"

namespace raziz::device {
namespace {

struct PulseLibrary {
#define RAZIZ_PULSE_CALL(name) decltype(&::name) name = nullptr;
// clang-format off
#define RAZIZ_PULSE_CALLS(X)                                                                                  \
  X(pa_threaded_mainloop_new) X(pa_threaded_mainloop_free) X(pa_threaded_mainloop_start)                      \
  X(pa_threaded_mainloop_stop) X(pa_threaded_mainloop_lock) X(pa_threaded_mainloop_unlock)                    \
  X(pa_threaded_mainloop_wait) X(pa_threaded_mainloop_signal) X(pa_threaded_mainloop_get_api)                 \
  X(pa_context_new) X(pa_context_unref) X(pa_context_connect) X(pa_context_disconnect) X(pa_context_get_state) \
  X(pa_context_set_state_callback) X(pa_context_get_server_info) X(pa_context_rttime_new) X(pa_rtclock_now)   \
  X(pa_stream_new) X(pa_stream_unref) X(pa_stream_connect_playback) X(pa_stream_disconnect)                   \
  X(pa_stream_get_state) X(pa_stream_set_state_callback) X(pa_stream_set_write_callback)                      \
  X(pa_stream_set_underflow_callback) X(pa_stream_begin_write) X(pa_stream_cancel_write) X(pa_stream_write)   \
  X(pa_stream_drain) X(pa_operation_unref)
  // clang-format on
  RAZIZ_PULSE_CALLS(RAZIZ_PULSE_CALL)
  bool loaded = false;
};

// Loaded once and kept for the life of the process: libpulse does not support being unloaded.
const PulseLibrary& pulse() {
  static PulseLibrary lib;
  static std::once_flag once;
  std::call_once(once, [] {
    void* handle = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return;
    bool all = true;
#define RAZIZ_PULSE_RESOLVE(name)                                        \
  lib.name = reinterpret_cast<decltype(lib.name)>(dlsym(handle, #name)); \
  all = all && lib.name != nullptr;
    RAZIZ_PULSE_CALLS(RAZIZ_PULSE_RESOLVE)
    lib.loaded = all;
  });
  return lib;
}

constexpr int kPriority = 70;
// How long the server may take to accept the connection, the stream, or the drain at close.
constexpr pa_usec_t kAnswerTimeout = 3 * PA_USEC_PER_SEC;
constexpr std::size_t kFrameBytes = 2 * sizeof(float);
// The output latency asked of the server, ours and its own together: 20 ms, the most a switch may lag
// and still feel at once. At 16 ms a quiet minute now and then ran dry with no stall on the machine.
constexpr std::uint64_t kLatencyMs = 20;

class PulseStream final : public OutputStream {
 public:
  explicit PulseStream(const StreamRequest& request) : request_(request), pa_(pulse()) {}
  ~PulseStream() override { close(); }

  bool open() {
    if (!pa_.loaded) return false;
    mainloop_ = pa_.pa_threaded_mainloop_new();
    if (!mainloop_) return false;
    context_ = pa_.pa_context_new(pa_.pa_threaded_mainloop_get_api(mainloop_), "Raziz");
    if (!context_) return false;
    pa_.pa_context_set_state_callback(context_, &PulseStream::on_context_state, this);
    if (pa_.pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
    if (pa_.pa_threaded_mainloop_start(mainloop_) < 0) return false;
    started_ = true;
    pa_.pa_threaded_mainloop_lock(mainloop_);
    const bool ok = connect_locked();
    pa_.pa_threaded_mainloop_unlock(mainloop_);
    return ok;
  }

  bool failed() const override { return failed_.load(std::memory_order_acquire); }
  std::uint64_t underruns() const override { return underruns_.load(std::memory_order_relaxed); }
  const char* api() const override { return "pulse"; }
  bool reports_failure() const override { return true; }
  int buffer_frames() const override { return request_.buffer_frames; }

  void close() override {
    if (!mainloop_) return;
    if (started_) {
      pa_.pa_threaded_mainloop_lock(mainloop_);
      closing_.store(true, std::memory_order_release);
      if (stream_) {
        // What was rendered (the exit fade) plays out before the stream goes.
        if (pa_.pa_stream_get_state(stream_) == PA_STREAM_READY) {
          drained_ = false;
          if (pa_operation* op = pa_.pa_stream_drain(stream_, &PulseStream::on_drained, this)) {
            wait_locked([this] { return drained_ || failed(); });
            pa_.pa_operation_unref(op);
          }
        }
        pa_.pa_stream_set_write_callback(stream_, nullptr, nullptr);
        pa_.pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
        pa_.pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_.pa_stream_disconnect(stream_);
      }
      pa_.pa_context_set_state_callback(context_, nullptr, nullptr);
      pa_.pa_context_disconnect(context_);
      pa_.pa_threaded_mainloop_unlock(mainloop_);
      pa_.pa_threaded_mainloop_stop(mainloop_);
    }
    if (stream_) pa_.pa_stream_unref(stream_);
    if (context_) pa_.pa_context_unref(context_);
    pa_.pa_threaded_mainloop_free(mainloop_);
    stream_ = nullptr;
    context_ = nullptr;
    mainloop_ = nullptr;
  }

 private:
  // Waits on the mainloop (whose lock is held) until done() or the answer time-out.
  template <typename Done>
  bool wait_locked(Done done) {
    timed_out_ = false;
    pa_time_event* timer =
        pa_.pa_context_rttime_new(context_, pa_.pa_rtclock_now() + kAnswerTimeout, &PulseStream::on_timeout, this);
    while (!done() && !timed_out_) pa_.pa_threaded_mainloop_wait(mainloop_);
    if (timer) pa_.pa_threaded_mainloop_get_api(mainloop_)->time_free(timer);
    return done();
  }

  bool connect_locked() {
    const bool ready = wait_locked([this] {
      const pa_context_state_t s = pa_.pa_context_get_state(context_);
      return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
    });
    if (!ready || pa_.pa_context_get_state(context_) != PA_CONTEXT_READY) return false;
    if (on_pipewire_locked()) return false;

    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(request_.sample_rate), 2};
    stream_ = pa_.pa_stream_new(context_, "Raziz", &format, nullptr);
    if (!stream_) return false;
    pa_.pa_stream_set_state_callback(stream_, &PulseStream::on_stream_state, this);
    pa_.pa_stream_set_write_callback(stream_, &PulseStream::on_writable, this);
    pa_.pa_stream_set_underflow_callback(stream_, &PulseStream::on_underflow, this);
    // The whole output latency (our buffer and the server's) is asked for, not the buffer alone: without
    // a request the server would buffer about two seconds.
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength =
        static_cast<std::uint32_t>(static_cast<std::uint64_t>(request_.sample_rate) * kLatencyMs / 1000 * kFrameBytes);
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    if (pa_.pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
      return false;
    const bool answered = wait_locked([this] {
      const pa_stream_state_t s = pa_.pa_stream_get_state(stream_);
      return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
    });
    return answered && pa_.pa_stream_get_state(stream_) == PA_STREAM_READY && !failed();
  }

  // PipeWire's PulseAudio server is left to RtAudio's blocking writer. Beside a load writing gigabytes to
  // the disk, this stream there now and then left 5 ms holes the server did not report as underruns, with
  // no stall on the machine, where the blocking writer left none.
  bool on_pipewire_locked() {
    server_known_ = false;
    pa_operation* op = pa_.pa_context_get_server_info(context_, &PulseStream::on_server_info, this);
    if (!op) return true;
    const bool known = wait_locked([this] { return server_known_ || failed(); });
    pa_.pa_operation_unref(op);
    return !known || on_pipewire_;
  }

  void fail() {
    if (closing_.load(std::memory_order_acquire)) return;
    if (failed_.exchange(true, std::memory_order_acq_rel)) return;
    if (request_.on_failure) request_.on_failure(request_.owner);
  }

  // The mainloop thread renders, so it runs real-time where the process may (otherwise it stays as it
  // was): at nice -15 the stream still underran about once a second on a machine loaded ten times over; at
  // real-time priority it did not. It costs CPU: each of the ~250 wake-ups a second preempts whatever runs.
  // This is done from the thread itself, once, as the connection comes up; handing the mainloop a callback
  // from outside while it polls is a race that corrupted its event lists.
  static void raise_priority() {
    sched_param param{};
    param.sched_priority = kPriority;
    sched_setscheduler(0, SCHED_RR, &param);
  }

  static void on_context_state(pa_context* context, void* user) {
    auto* self = static_cast<PulseStream*>(user);
    const pa_context_state_t state = self->pa_.pa_context_get_state(context);
    if (state == PA_CONTEXT_READY) raise_priority();
    if (!PA_CONTEXT_IS_GOOD(state)) self->fail();
    self->pa_.pa_threaded_mainloop_signal(self->mainloop_, 0);
  }

  static void on_stream_state(pa_stream* stream, void* user) {
    auto* self = static_cast<PulseStream*>(user);
    if (!PA_STREAM_IS_GOOD(self->pa_.pa_stream_get_state(stream))) self->fail();
    self->pa_.pa_threaded_mainloop_signal(self->mainloop_, 0);
  }

  static void on_server_info(pa_context*, const pa_server_info* info, void* user) {
    auto* self = static_cast<PulseStream*>(user);
    self->on_pipewire_ = info && info->server_name && std::strstr(info->server_name, "PipeWire");
    self->server_known_ = true;
    self->pa_.pa_threaded_mainloop_signal(self->mainloop_, 0);
  }

  static void on_timeout(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* user) {
    auto* self = static_cast<PulseStream*>(user);
    self->timed_out_ = true;
    self->pa_.pa_threaded_mainloop_signal(self->mainloop_, 0);
  }

  static void on_drained(pa_stream*, int, void* user) {
    auto* self = static_cast<PulseStream*>(user);
    self->drained_ = true;
    self->pa_.pa_threaded_mainloop_signal(self->mainloop_, 0);
  }

  static void on_underflow(pa_stream*, void* user) {
    auto* self = static_cast<PulseStream*>(user);
    if (!self->closing_.load(std::memory_order_relaxed)) self->underruns_.fetch_add(1, std::memory_order_relaxed);
  }

  // The real-time path: render straight into the block the server will read.
  static void on_writable(pa_stream* stream, std::size_t bytes, void* user) {
    auto* self = static_cast<PulseStream*>(user);
    const PulseLibrary& pa = self->pa_;
    while (bytes >= kFrameBytes) {
      void* data = nullptr;
      std::size_t size = bytes;
      if (pa.pa_stream_begin_write(stream, &data, &size) < 0 || !data) return;
      const std::size_t frames = size / kFrameBytes;
      if (frames == 0) {
        pa.pa_stream_cancel_write(stream);
        return;
      }
      self->request_.render(self->request_.user, static_cast<float*>(data), static_cast<int>(frames));
      if (pa.pa_stream_write(stream, data, frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE) < 0) return;
      bytes -= frames * kFrameBytes;
    }
  }

  StreamRequest request_;
  const PulseLibrary& pa_;
  pa_threaded_mainloop* mainloop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  bool started_ = false;
  // Touched only with the mainloop's lock held.
  bool timed_out_ = false;
  bool drained_ = false;
  bool server_known_ = false;
  bool on_pipewire_ = false;
  std::atomic<bool> failed_{false};
  std::atomic<bool> closing_{false};
  std::atomic<std::uint64_t> underruns_{0};
};

}  // namespace

std::unique_ptr<OutputStream> open_pulse_stream(const StreamRequest& request) {
  auto stream = std::make_unique<PulseStream>(request);
  if (!stream->open()) return nullptr;
  return stream;
}

}  // namespace raziz::device
