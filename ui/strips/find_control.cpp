#include "ui/strips/channel_strip.h"

namespace raziz {

std::optional<ControlMatch> find_control(const ChannelStrips& strips, const ui::TGadget* source) {
  if (source == nullptr) return std::nullopt;
  for (int b = 0; b < static_cast<int>(strips.size()); ++b) {
    const ChannelStrip& s = strips[b];
    if (source == s.frequency_field) return ControlMatch{b, ControlRole::frequency_field};
    if (source == s.level_field) return ControlMatch{b, ControlRole::level_field};
    if (source == s.tone_button) return ControlMatch{b, ControlRole::tone_button};
    if (source == s.level_slider) return ControlMatch{b, ControlRole::level_slider};
    if (source == s.square_box) return ControlMatch{b, ControlRole::square_box};
    if (source == s.triangle_box) return ControlMatch{b, ControlRole::triangle_box};
  }
  return std::nullopt;
}

}  // namespace raziz
