#pragma once
// One band's column of the main window, and the lookup from a widget to its band and role.

#include <array>
#include <memory>
#include <optional>

#include "audio/tone_bank.h"

namespace raziz::ui {
class TGadget;
struct TPixmap;
}  // namespace raziz::ui

namespace raziz {

// Handles owned by the widget layer; they live as long as the main window, that is until the process ends.
struct ChannelStrip {
  ui::TGadget* group_panel = nullptr;
  ui::TGadget* lamp = nullptr;
  std::shared_ptr<const ui::TPixmap> lamp_pixmap;  // what the lamp shows now; null when its file was unreadable
  ui::TGadget* hertz_label = nullptr;
  ui::TGadget* tone_button = nullptr;
  ui::TGadget* frequency_field = nullptr;
  ui::TGadget* level_field = nullptr;
  ui::TGadget* square_box = nullptr;
  ui::TGadget* triangle_box = nullptr;
  ui::TGadget* slider_well = nullptr;
  ui::TGadget* level_slider = nullptr;
};

using ChannelStrips = std::array<ChannelStrip, kBandCount>;

// Builds the nine strips into the main window, band 0 (500 Hz) on the left, and repaints the window once
// midway (before the slider wells). Images are read by bare file name from the working directory.
ChannelStrips build_strips(ui::TGadget* main_window);

// The six controls of a strip that raise actions.
enum class ControlRole { frequency_field, level_field, tone_button, level_slider, square_box, triangle_box };

struct ControlMatch {
  int band = 0;
  ControlRole role = ControlRole::tone_button;
};

// The band and role of an action's source; nothing for any other gadget (labels, panels, dialog controls).
std::optional<ControlMatch> find_control(const ChannelStrips& strips, const ui::TGadget* source);

}  // namespace raziz
