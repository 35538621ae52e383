#pragma once
// What each of a strip's six controls does. Every handler changes its own band only, and reads its widgets at
// the moment it runs.

namespace raziz {

struct ChannelStrip;
struct ToneBank;

// Typed frequency: the button shows the text as typed, the oscillator gets its number (0 when none).
void on_frequency_field(ChannelStrip& strip, ToneBank& bank, int band);

// Typed level in percent: sets the volume and moves the slider to match.
void on_level_field(ChannelStrip& strip, ToneBank& bank, int band);

// Slider moved to `value`: sets the volume and shows it in percent in the level field.
void on_level_slider(ChannelStrip& strip, ToneBank& bank, int band, float value);

// Applies the waveform the boxes choose, swaps the lamp and switches the band on or off.
void on_tone_button(ChannelStrip& strip, ToneBank& bank, int band);

// The waveform boxes exclude each other; the choice is heard from the band's next press.
void on_square_box(ChannelStrip& strip);
void on_triangle_box(ChannelStrip& strip);

}  // namespace raziz
