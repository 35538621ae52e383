#include <string>

#include "audio/tone_bank.h"
#include "ui/strips/channel_strip.h"
#include "ui/strips/strip_images.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/pixmap.h"

namespace raziz {
namespace {

using ui::TGadget;

// A strip is captioned with its band's frequency; the strips stand side by side, 88 pixels apart.
struct StripPlace {
  std::string caption;
  int x = 0;
};

StripPlace place_of(int band) { return {std::to_string(kBandFrequencies[band]), 6 + 88 * band}; }

// What a screen reader announces for the controls whose own text does not say what they are. The tone button
// and the waveform boxes keep their captions.
void name_for_screen_readers(ChannelStrip& strip, const StripPlace& band) {
  const std::string hz = band.caption + " Hz";
  strip.group_panel->SetAccessibleName("Band " + hz);
  strip.frequency_field->SetAccessibleName("Frequency " + hz);
  strip.level_field->SetAccessibleName("Level percent " + hz);
}

void build_column(ChannelStrip& strip, TGadget* main_window, const StripPlace& band, int band_index) {
  strip.group_panel = ui::NewPanel(band.x, -6, 88, 480, main_window, ui::panel_style::kGroup, "");
  ui::SetGadgetColor(strip.group_panel, 192, 192, 192, 1);

  strip.lamp = ui::NewPanel(14, 0, 50, 50, strip.group_panel, ui::panel_style::kPlain, " ");
  show_lamp(strip, kGreenLamp);

  strip.hertz_label = ui::NewLabel("HERTZ", 20, 55, 36, 14, strip.group_panel, ui::label_style::kLeft);
  strip.tone_button = ui::NewButton(band.caption, 9, 74, 58, 34, strip.group_panel, ui::button_style::kDefault);

  strip.frequency_field = ui::NewTextField(13, 115, 50, 18, strip.group_panel, 0);
  strip.frequency_field->SetText(band.caption);

  // The 630 Hz strip's level field has always stood 4 pixels further left than the others.
  const int level_x = band_index == 1 ? 9 : 13;
  strip.level_field = ui::NewTextField(level_x, 384, 50, 18, strip.group_panel, 0);
  strip.level_field->SetText("50");

  strip.square_box = ui::NewButton("SQUARE", 4, 410, 74, 23, strip.group_panel, ui::button_style::kCheckBox);
  strip.triangle_box = ui::NewButton("TRIANGLE", 4, 435, 74, 23, strip.group_panel, ui::button_style::kCheckBox);
}

void build_slider(ChannelStrip& strip, const StripPlace& band, const std::shared_ptr<const ui::TPixmap>& backdrop) {
  strip.slider_well = ui::NewPanel(12, 140, 50, 230, strip.group_panel, ui::panel_style::kGroup, "");
  constexpr int kVerticalTrackBar = 6;
  strip.level_slider = ui::NewSlider(9, 1, 23, 200, strip.slider_well, kVerticalTrackBar);
  strip.level_slider->SetRange(1, 200);
  strip.level_slider->SetProp(105);
  strip.level_slider->SetAccessibleName("Level " + band.caption + " Hz");
  strip.slider_well->SetPixmap(backdrop, 0);
}

}  // namespace

ChannelStrips build_strips(TGadget* main_window) {
  ChannelStrips strips;
  for (int b = 0; b < kBandCount; ++b) {
    const StripPlace place = place_of(b);
    build_column(strips[b], main_window, place, b);
    name_for_screen_readers(strips[b], place);
  }

  ui::pump_and_repaint(main_window);

  // One decoded backdrop serves all nine wells.
  const std::shared_ptr<const ui::TPixmap> backdrop = ui::LoadPixmap(kSliderBackdrop);
  for (int b = 0; b < kBandCount; ++b) build_slider(strips[b], place_of(b), backdrop);
  return strips;
}

}  // namespace raziz
