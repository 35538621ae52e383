#pragma once
// What the program and the RtAudio module (Linux) agree on: the module's place beside the program and its
// one entry point.
#include "audio/device/output_stream.h"

namespace raziz::device {

inline constexpr const char* kRtAudioModule = "modules/raziz-rtaudio.so";
inline constexpr const char* kRtAudioEntry = "raziz_open_rtaudio_stream";

// Opens and starts the default output of `api` through RtAudio; null if that fails. The caller owns it.
using OpenRtAudioStream = OutputStream* (*)(DeviceApi api, const StreamRequest* request);

}  // namespace raziz::device
