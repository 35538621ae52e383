#pragma once
// Float samples to 16-bit integers, for outputs that take nothing wider. Rounding alone leaves an error
// that follows the signal, so a quiet tone gains harmonics of its own. Triangular noise of two steps peak
// to peak, added before rounding, makes the error independent of the signal: a steady hiss about 101 dB
// below full scale takes the harmonics' place.
#include <cstdint>

namespace raziz::device {

class TpdfQuantizer {
 public:
  // Full scale: 1.0 becomes this, -1.0 its negative, so both signs reach the same level.
  static constexpr double kFullScale = 32767.0;

  explicit TpdfQuantizer(std::uint64_t seed = 0x5eed5eed5eed5eedULL) : state_(seed) {}

  // Real-time safe: no allocation, no locks, no system calls. Values beyond full scale saturate; NaN
  // becomes silence.
  void quantize(const float* in, std::int16_t* out, int samples);

 private:
  std::uint64_t next();
  std::uint64_t state_;
};

}  // namespace raziz::device
