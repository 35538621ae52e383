// Sliders. The platform counts the thumb's position from the top of a vertical slider, so there the value is
// min + max - position. The last value (set by the program or reported to it) decides whether a notification
// raises an action.

#include <algorithm>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

namespace {

bool Vertical(const TGadget& slider) { return !(slider.style & slider_style::kHorizontal); }

}  // namespace

int SliderValueAt(const TGadget& slider, int position) {
  if (!Vertical(slider)) return position;
  return static_cast<int>(static_cast<long long>(slider.slider_min()) + slider.slider_max() - position);
}

int SliderPositionFor(const TGadget& slider, long long value) {
  const long long lo = slider.slider_min(), hi = slider.slider_max();
  const long long p = Vertical(slider) ? lo + hi - value : value;
  return static_cast<int>(std::clamp(p, lo, hi));
}

void TGadget::SetRange(int min, int max) {
  if (!alive_ || kind_ != kSlider) return;
  if (min > max) std::swap(min, max);
  slider_min_ = min;
  slider_max_ = max;
  slider_position_ = std::clamp(slider_position_, min, max);
  NativeSlider();
}

void TGadget::SetProp(int value) {
  if (!alive_ || kind_ != kSlider) return;
  slider_last_ = value;  // kept as given, even outside the range
  slider_position_ = SliderPositionFor(*this, value);
  NativeSlider();
}

int TGadget::GetProp() {
  if (kind_ != kSlider) return 0;
  return SliderValueAt(*this, slider_position_);
}

void input::SliderMoved(TGadget* slider, int position) {
  if (!Core::RaisesEvents(slider) || slider->kind_ != kSlider) return;
  const int p = std::clamp(position, slider->slider_min_, slider->slider_max_);
  slider->slider_position_ = p;
  if (p != position) slider->NativeSlider();
  const int value = SliderValueAt(*slider, p);
  if (value == slider->slider_last_) return;
  slider->slider_last_ = value;
  Core::Raise(kGadgetAction, slider, value);
}

void Core::MoveThumb(TGadget* slider, int position) {
  slider->slider_position_ = std::clamp(position, slider->slider_min_, slider->slider_max_);
  slider->NativeSlider();
  input::SliderMoved(slider, slider->slider_position_);
}

void Core::SliderKey(TGadget* slider, Key key) {
  const int lo = slider->slider_min_, hi = slider->slider_max_;
  const int page = std::max(1, static_cast<int>((static_cast<long long>(hi) - lo) / 5));
  const long long p = slider->slider_position_;
  long long next = p;
  switch (key) {
    case Key::kUp:
    case Key::kLeft: next = p - 1; break;  // towards the top: a higher value on a vertical slider
    case Key::kDown:
    case Key::kRight: next = p + 1; break;
    case Key::kPageUp: next = p - page; break;
    case Key::kPageDown: next = p + page; break;
    case Key::kHome: next = lo; break;  // the top: the maximum of a vertical slider
    case Key::kEnd: next = hi; break;
    default: return;
  }
  MoveThumb(slider, static_cast<int>(std::clamp<long long>(next, lo, hi)));
}

}  // namespace raziz::ui
