#pragma once
// One-line labels and the fonts they were drawn for. The layouts were drawn for a narrower dialog font than
// most desktops use; a label one line high whose text would wrap into a line its height then clips is set a
// little smaller instead, so the whole sentence stays readable. Beyond a fifth smaller it wraps and clips as
// any label does. The driver measures; this decides.

namespace raziz::ui {

// What the driver measured for a label, in its pixels: the box, and its text on one line in the full font.
struct LabelMeasure {
  int box_width = 0, box_height = 0;
  int text_width = 0, line_height = 0;
};

constexpr double kSmallestLabelFont = 0.8;

// The factor for the label's font: 1 keeps it (the text fits, the box holds two lines, or shrinking would
// not be enough), otherwise a factor in [0.8, 1) at which the text's width fits inside the box.
double LabelFontScale(const LabelMeasure& measure);

}  // namespace raziz::ui
