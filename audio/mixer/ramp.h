#pragma once
// A value that moves between targets along a raised cosine, so level changes and cross-fades have no
// corner to click. The curve is computed once per system (it depends on the sample rate) and shared
// by every ramp of that length; a ramp keeps a view of it, so callers never pass it back in.
#include <vector>

namespace raziz::mixer {

// curve[n] = (1 - cos(pi n / length)) / 2 for n = 0..length.
class RaisedCosine {
 public:
  RaisedCosine() = default;
  explicit RaisedCosine(int length);
  int length() const { return static_cast<int>(curve_.size()) - 1; }
  const double* data() const { return curve_.data(); }

 private:
  std::vector<double> curve_{0.0};
};

class Ramp {
 public:
  Ramp() = default;
  // Starts as if just set off from 0 to 0: it arrives (and counts as resting) one ramp length later.
  explicit Ramp(const RaisedCosine& shape) : shape_(shape.data()), length_(shape.length()) {}

  double start() const { return from_; }
  double target() const { return to_; }
  bool arrived() const { return position_ >= length_; }
  bool resting_at_zero() const { return arrived() && to_ == 0.0; }
  // The value `offset` samples into the current block.
  double at(int offset) const {
    const int k = position_ + offset;
    return k < length_ ? from_ + (to_ - from_) * shape_[k] : to_;
  }

  // Sets off for a new target from wherever the value is now.
  void retarget(double target) {
    from_ = at(0);
    to_ = target;
    position_ = 0;
  }
  // Stands at `value` at once, with no ramp.
  void jump(double value) {
    from_ = to_ = value;
    position_ = length_;
  }
  void advance(int frames) { position_ = position_ + frames < length_ ? position_ + frames : length_; }

  // out[i] += value at i * in[i], over one block.
  void scale_add(const double* in, double* out, int frames) const {
    if (arrived()) {
      const double g = to_;
      for (int i = 0; i < frames; ++i) out[i] += g * in[i];
      return;
    }
    const double from = from_, span = to_ - from_;
    const double* shape = shape_;
    const int length = length_, position = position_;
    for (int i = 0; i < frames; ++i) {
      const int k = position + i;
      const double g = k < length ? from + span * shape[k] : to_;
      out[i] += g * in[i];
    }
  }

  // a[i] moves towards b[i] by the value at i (0 keeps a, 1 gives b), over one block.
  void blend(double* a, const double* b, int frames) const {
    const double from = from_, span = to_ - from_;
    const double* shape = shape_;
    const int length = length_, position = position_;
    for (int i = 0; i < frames; ++i) {
      const int k = position + i;
      const double w = k < length ? from + span * shape[k] : to_;
      a[i] += w * (b[i] - a[i]);
    }
  }

 private:
  const double* shape_ = nullptr;
  int length_ = 0;
  double from_ = 0.0;
  double to_ = 0.0;
  int position_ = 0;  // samples into the ramp; at or past length_ it has arrived at to_
};

}  // namespace raziz::mixer
