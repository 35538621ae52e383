#include "audio/mixer/ramp.h"

#include <cmath>
#include <numbers>

namespace raziz::mixer {

RaisedCosine::RaisedCosine(int length) : curve_(static_cast<std::size_t>(length) + 1) {
  for (int n = 0; n <= length; ++n) curve_[n] = 0.5 - 0.5 * std::cos(std::numbers::pi * n / length);
}

}  // namespace raziz::mixer
