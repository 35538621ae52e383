#pragma once
// Windows only: the default output through WASAPI in shared mode, carrying float samples to the mix.
#include <memory>

#include "audio/device/output_stream.h"

namespace raziz::device {

// Opens and starts it; nullptr where WASAPI is missing or refuses the format.
std::unique_ptr<OutputStream> open_wasapi_stream(const StreamRequest& request);

}  // namespace raziz::device
