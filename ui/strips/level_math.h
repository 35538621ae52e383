#pragma once
// The arithmetic that ties a strip's level field, level slider and channel volume together. Single
// precision throughout, with the constants the panel has always used: they make the field and the slider
// agree on the values people type and drag (50 -> slider 100, slider 105 -> 52).

#include <cstdint>

namespace raziz {

// The channel volume for a whole number typed into the level field (not clamped).
float level_from_field(std::int32_t percent);

// The slider value for a whole number typed into the level field (may lie outside the slider's range).
std::int32_t slider_from_field(std::int32_t percent);

// The channel volume for a slider value: below 0.02 is silence, above 1.0 is 1.0.
float level_from_slider(float slider_value);

// The whole percent the level field shows for a volume.
std::int32_t percent_from_level(float level);

}  // namespace raziz
