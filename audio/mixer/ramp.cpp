#include "audio/mixer/ramp.h"

#include <cmath>
#include <numbers>

namespace raziz::mixer {

std::vector<double> raised_cosine(int length) {
  std::vector<double> shape(static_cast<std::size_t>(length) + 1);
  for (int n = 0; n <= length; ++n) shape[n] = 0.5 - 0.5 * std::cos(std::numbers::pi * n / length);
  return shape;
}

}  // namespace raziz::mixer
