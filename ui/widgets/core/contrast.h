#pragma once
// Text that reads whatever the desktop theme. Where the layout fixes the background behind a control's text
// (a text field's white, the colour a panel was given), the text gets a fixed colour that contrasts with it;
// elsewhere the theme's own text colour stays.

#include <optional>

#include "ui/widgets/core/gadget.h"

namespace raziz::ui {

// The relative luminance of an sRGB colour, 0 for black to 1 for white.
double RelativeLuminance(Rgb colour);

// The contrast ratio of two colours, 1 to 21; 4.5 is the least that body text needs.
double ContrastRatio(Rgb a, Rgb b);

// Black or white, whichever contrasts more with the background.
Rgb TextColourOn(Rgb background);

// The background the layout fixes behind the gadget's text: a text field's white, or the colour of the
// nearest container with one for a check box, radio button or label (and a group panel's caption).
// Nothing for push buttons, the text area, or text over no fixed colour.
std::optional<Rgb> FixedBackground(const TGadget& gadget);

// The colour the gadget's text is drawn in: the program's own (SetTextColor), else one that contrasts with
// the fixed background, else nothing (the theme decides).
std::optional<Rgb> TextColourFor(const TGadget& gadget);

}  // namespace raziz::ui
