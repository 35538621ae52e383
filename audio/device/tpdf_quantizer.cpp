#include "audio/device/tpdf_quantizer.h"

#include <cmath>

namespace raziz::device {

// SplitMix64: any seed gives a full-period sequence, and each output's two halves are independent
// enough to serve as the two uniform draws one triangular value needs.
std::uint64_t TpdfQuantizer::next() {
  std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

void TpdfQuantizer::quantize(const float* in, std::int16_t* out, int samples) {
  constexpr double kHalfRange = 4294967296.0;  // 2^32: one uniform draw spans one step
  for (int i = 0; i < samples; ++i) {
    const std::uint64_t bits = next();
    const double dither = (static_cast<double>(bits >> 32) - static_cast<double>(bits & 0xffffffffULL)) / kHalfRange;
    double v = std::floor(static_cast<double>(in[i]) * kFullScale + dither + 0.5);
    if (v != v) v = 0.0;
    if (v > 32767.0) v = 32767.0;
    if (v < -32768.0) v = -32768.0;
    out[i] = static_cast<std::int16_t>(v);
  }
}

}  // namespace raziz::device
