#pragma once
// A gain that moves between values along a raised cosine, so level changes have no corner to click.
#include <vector>

namespace raziz::mixer {

// shape[n] = (1 - cos(pi n / length)) / 2 for n = 0..length.
std::vector<double> raised_cosine(int length);

struct Ramp {
  double from = 0.0;
  double to = 0.0;
  int position = 0;   // samples into the ramp; at or past length it has arrived at `to`

  bool idle(int length) const { return position >= length; }
  double value(const std::vector<double>& shape) const {
    const int length = static_cast<int>(shape.size()) - 1;
    if (position >= length) return to;
    return from + (to - from) * shape[position];
  }
  // Starts again from where the gain is now.
  void retarget(double target, const std::vector<double>& shape) {
    from = value(shape);
    to = target;
    position = 0;
  }
};

}  // namespace raziz::mixer
