#pragma once
// The image files the strips show. They stay outside the executable, next to it, and are read anew each time
// they are shown, so they can be replaced without rebuilding.

#include <string_view>

namespace raziz {

struct ChannelStrip;

inline constexpr const char* kGreenLamp = "verde.png";  // band silent
inline constexpr const char* kRedLamp = "rosso.png";    // band sounding
inline constexpr const char* kSliderBackdrop = "slider.png";

// Reads the lamp image from its file and shows it on the strip's lamp, releasing the one shown before. An
// unreadable file leaves the lamp empty.
void show_lamp(ChannelStrip& strip, const char* file);

}  // namespace raziz
