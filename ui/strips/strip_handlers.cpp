#include "ui/strips/strip_handlers.h"

#include <string>

#include "audio/tone_bank.h"
#include "ui/strips/channel_strip.h"
#include "ui/strips/level_math.h"
#include "ui/strips/number_text.h"
#include "ui/strips/strip_images.h"
#include "ui/widgets/core/gadget.h"

namespace raziz {

void on_frequency_field(ChannelStrip& strip, ToneBank& bank, int band) {
  const std::string text = strip.frequency_field->GetText();
  const std::int32_t hz = text_to_int(text);
  strip.tone_button->SetText(text);
  set_rate(bank, band, static_cast<float>(hz));
}

void on_level_field(ChannelStrip& strip, ToneBank& bank, int band) {
  const std::int32_t percent = text_to_int(strip.level_field->GetText());
  set_level(bank, band, level_from_field(percent));
  // Out of the slider's range the thumb goes to the nearer end; the program-made change raises nothing, so the
  // slider's handler does not answer back.
  strip.level_slider->SetProp(slider_from_field(percent));
}

void on_level_slider(ChannelStrip& strip, ToneBank& bank, int band, float value) {
  const float level = level_from_slider(value);
  set_level(bank, band, level);
  strip.level_field->SetText(int_to_text(percent_from_level(level)));
}

void on_tone_button(ChannelStrip& strip, ToneBank& bank, int band) {
  // Three tests in this order: with both boxes checked (possible after clicks made while a dialog was open)
  // triangle is set last and wins.
  const bool square = ui::ButtonState(strip.square_box) != 0;
  const bool triangle = ui::ButtonState(strip.triangle_box) != 0;
  if (!square && !triangle) set_waveform(bank, band, Waveform::sine);
  if (square) set_waveform(bank, band, Waveform::square);
  if (triangle) set_waveform(bank, band, Waveform::triangle);

  show_lamp(strip, bank.channels[band].sounding ? kGreenLamp : kRedLamp);
  toggle(bank, band);
}

void on_square_box(ChannelStrip& strip) { strip.triangle_box->SetSelected(0); }

void on_triangle_box(ChannelStrip& strip) { strip.square_box->SetSelected(0); }

}  // namespace raziz
