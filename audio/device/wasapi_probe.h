#pragma once
// Windows only: whether RtAudio's WASAPI stream can run here.

namespace raziz::device {

// RtAudio's WASAPI thread always builds a Media Foundation resampler and uses it without checking that it
// got one; where that resampler is missing (wine without its GStreamer plugins, Windows editions without
// Media Foundation) the thread would crash the process. Such a system is given DirectSound instead.
bool wasapi_resampler_available();

}  // namespace raziz::device
