// Linux: the RtAudio stream lives in modules/raziz-rtaudio.so beside the program and is loaded the first
// time a stream needs it. A PulseAudio desktop never does, and keeps RtAudio, JACK's and ALSA's libraries out of
// the process.
#include <dlfcn.h>
#include <unistd.h>

#include <mutex>
#include <string>

#include "audio/device/output_stream.h"
#include "audio/device/rtaudio_module.h"

namespace raziz::device {
namespace {

// The module beside the running executable, wherever it was started from or through.
std::string module_path() {
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return {};
  std::string path(exe, static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1) + kRtAudioModule;
}

// Loaded once and kept: RtAudio's threads and static objects live as long as the process.
OpenRtAudioStream opener() {
  static OpenRtAudioStream open = nullptr;
  static std::once_flag once;
  std::call_once(once, [] {
    const std::string path = module_path();
    if (path.empty()) return;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return;
    open = reinterpret_cast<OpenRtAudioStream>(dlsym(handle, kRtAudioEntry));
  });
  return open;
}

}  // namespace

std::unique_ptr<OutputStream> open_device_stream(DeviceApi api, const StreamRequest& request) {
  const OpenRtAudioStream open = opener();
  if (!open) return nullptr;
  return std::unique_ptr<OutputStream>(open(api, &request));
}

}  // namespace raziz::device
