#pragma once
// What the user did, as a driver reports it to the core. The core updates its state, applies whatever the
// platform must show through the gadget's Native* hooks and raises the events that follow. A driver calls
// these only while it handles platform messages (inside PollMessages or WaitMessages), never for a change
// the program made.

#include <string_view>

namespace raziz::ui {

class TGadget;

enum class Key { kTab, kEnter, kEscape, kUp, kDown, kLeft, kRight, kPageUp, kPageDown, kHome, kEnd };

namespace input {

// A click (press and release over it) or the space bar on a button. A check box's mark flips first.
void Clicked(TGadget* button);

// The user changed a text field's or text area's text (typed, deleted, cut, pasted, undone); selection in bytes.
void TextEdited(TGadget* field, std::string_view text, int selection_start, int selection_end);

// The user moved the caret or selection without changing the text.
void SelectionChanged(TGadget* field, int selection_start, int selection_end);

// A right click inside a text area, at (x, y) in the area.
void ContextMenu(TGadget* area, int x, int y);

// A notification of a slider: the thumb now stands at the platform's position p (counted from the top).
void SliderMoved(TGadget* slider, int position);

// A key pressed while `window` is active, before the focused native widget sees it. Returns true when the
// core consumed it (Tab, Shift+Tab, Enter, Escape, and the slider keys on a focused slider); the driver then
// keeps it from the native widget.
bool KeyPressed(TGadget* window, Key key, bool shift);

// The user gave the keyboard focus to a gadget (a click on a control, or on an empty part of a panel).
void FocusGained(TGadget* gadget);

// The close box, the system menu's Close or Alt+F4.
void CloseAsked(TGadget* window);

// The user chose a menu item.
void MenuChosen(TGadget* item);

void WindowMoved(TGadget* window, int x, int y);
void WindowSized(TGadget* window, int width, int height);
// The window became the active one; the keyboard focus is then on the window itself.
void WindowActivated(TGadget* window);
void AppSuspended();
void AppResumed();

}  // namespace input
}  // namespace raziz::ui
