#pragma once
// What every window and control of the program looks like beyond the theme: controls that fit the small
// rectangles the layout gives them, white text fields, the groove paging towards a click, the icon.

namespace raziz::ui::gtk {

void ApplyLook();

}  // namespace raziz::ui::gtk
