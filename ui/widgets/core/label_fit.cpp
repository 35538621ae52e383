#include "ui/widgets/core/label_fit.h"

namespace raziz::ui {

double LabelFontScale(const LabelMeasure& m) {
  if (m.box_width <= 0 || m.box_height <= 0 || m.text_width <= 0 || m.line_height <= 0) return 1.0;
  if (m.text_width <= m.box_width || m.box_height >= 2 * m.line_height) return 1.0;
  // One pixel to spare: a font shrunk to the exact width may still round a glyph over the edge.
  const double scale = static_cast<double>(m.box_width - 1) / m.text_width;
  return scale < kSmallestLabelFont ? 1.0 : scale;
}

}  // namespace raziz::ui
