// The scripted user's steps, and what the native widgets do with them before they tell the core.

#include <algorithm>

#include "ui/widgets/headless/headless_driver.h"
#include "ui/widgets/headless/headless_gadgets.h"

namespace raziz::ui::headless {

namespace {

Peer& NativePeer(TGadget* g) { return static_cast<HeadlessGadget*>(g)->peer; }

// The gadget a step names, or null (and a note) when the platform could not reach it.
TGadget* Reach(THeadlessDriver& d, const Target& t, const char* action) {
  TGadget* g = t.Resolve();
  if (!g->alive() || !d.PeerOf(g).visible) {
    d.Ignored(std::string(action) + ": " + t.Describe() + " is not on screen");
    return nullptr;
  }
  return g;
}

// A click inside a window that is not the active one activates it first.
void BringToFront(THeadlessDriver& d, TGadget* g) {
  TGadget* w = g->window();
  if (!w || d.ActiveWindow() == w) return;
  d.NativeActiveWindow(w);
  input::WindowActivated(w);
}

void GiveFocus(THeadlessDriver& d, TGadget* g) {
  BringToFront(d, g);
  if (d.NativeFocus() == g) return;
  d.NativeFocusMoved(g);
  input::FocusGained(g);
}

bool IsTextBox(const TGadget* g) { return g->kind() == kTextField || g->kind() == kTextArea; }

std::size_t PreviousCharacter(const std::string& s, std::size_t at) {
  if (at == 0) return 0;
  --at;
  while (at > 0 && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) --at;
  return at;
}

std::size_t NextCharacter(const std::string& s, std::size_t at) {
  if (at >= s.size()) return s.size();
  ++at;
  while (at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) ++at;
  return at;
}

// The user clicks into a text box that lacks the focus: after its last character.
void FocusTextBox(THeadlessDriver& d, TGadget* g) {
  if (d.NativeFocus() == g) return;
  GiveFocus(d, g);
  Peer& p = NativePeer(g);
  const int end = static_cast<int>(p.text.size());
  p.selection_start = p.selection_end = end;
  input::SelectionChanged(g, end, end);
}

// Replaces the native selection with `insert` (or erases one character before the caret for "\b").
void EditText(TGadget* g, std::string_view insert) {
  Peer& p = NativePeer(g);
  std::size_t from = static_cast<std::size_t>(std::min(p.selection_start, p.selection_end));
  std::size_t to = static_cast<std::size_t>(std::max(p.selection_start, p.selection_end));
  from = std::min(from, p.text.size());
  to = std::min(to, p.text.size());
  std::string text = p.text;
  std::size_t caret;
  if (insert == "\b") {
    if (from == to) from = PreviousCharacter(text, from);
    text.erase(from, to - from);
    caret = from;
  } else {
    text.replace(from, to - from, insert);
    caret = from + insert.size();
  }
  if (text == p.text) return;
  p.text = text;
  p.selection_start = p.selection_end = static_cast<int>(caret);
  input::TextEdited(g, text, p.selection_start, p.selection_end);
}

// A key the core left to the focused native widget.
void NativeKey(THeadlessDriver& d, Key key) {
  TGadget* g = d.NativeFocus();
  if (!g || !IsTextBox(g)) return;
  Peer& p = NativePeer(g);
  std::size_t caret = static_cast<std::size_t>(p.selection_end);
  switch (key) {
    case Key::kLeft: caret = PreviousCharacter(p.text, caret); break;
    case Key::kRight: caret = NextCharacter(p.text, caret); break;
    case Key::kHome: caret = 0; break;
    case Key::kEnd: caret = p.text.size(); break;
    case Key::kEnter:
      if (g->kind() == kTextArea) EditText(g, "\r");
      return;
    default: return;
  }
  p.selection_start = p.selection_end = static_cast<int>(caret);
  input::SelectionChanged(g, p.selection_start, p.selection_end);
}

bool InMenuBar(const std::vector<MenuEntry>& entries, const TGadget* item) {
  for (const MenuEntry& e : entries) {
    if (e.item == item || InMenuBar(e.children, item)) return true;
  }
  return false;
}

void ChooseMenu(THeadlessDriver& d, TGadget* item) {
  TGadget* w = item->window();
  if (!w || !InMenuBar(d.PeerOf(w).menu_bar, item)) {
    d.Ignored("choose_menu: \"" + item->name + "\" is not in a menu bar");
    return;
  }
  BringToFront(d, w);
  input::MenuChosen(item);
}

void MoveThumb(TGadget* g, int position) {
  Peer& p = NativePeer(g);
  p.slider_position = std::clamp(position, p.slider_min, p.slider_max);
  input::SliderMoved(g, p.slider_position);
}

}  // namespace

void User::click(Target t) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, t] {
             TGadget* g = Reach(d, t, "click");
             if (!g) return;
             switch (g->kind()) {
               case kWindow: BringToFront(d, g); break;  // its empty client area: the focus stays
               case kButton:
                 GiveFocus(d, g);
                 input::Clicked(g);
                 break;
               case kMenuItem: ChooseMenu(d, g); break;
               case kTextField:
               case kTextArea: FocusTextBox(d, g); break;
               case kLabel:  // a label lets the click through to its container
                 if (g->parent && g->parent->kind() == kPanel) {
                   GiveFocus(d, g->parent);
                 } else {
                   BringToFront(d, g);
                 }
                 break;
               default: GiveFocus(d, g); break;
             }
           }},
           t.pinned());
}

void User::click_panel(Target panel) { click(panel); }

void User::type(Target field, std::string_view text) {
  THeadlessDriver& d = driver_;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t next = NextCharacter(std::string(text), at);
    std::string character(text.substr(at, next - at));
    d.Script({[&d, field, character] {
               TGadget* g = Reach(d, field, "type");
               if (!g || !IsTextBox(g)) return;
               FocusTextBox(d, g);
               EditText(g, character);
             }},
             field.pinned());
    at = next;
  }
}

void User::set_text_by_user(Target field, std::string_view text) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, field, s = std::string(text)] {
             TGadget* g = Reach(d, field, "set_text_by_user");
             if (!g || !IsTextBox(g)) return;
             FocusTextBox(d, g);
             Peer& p = NativePeer(g);
             p.selection_start = 0;
             p.selection_end = static_cast<int>(p.text.size());
             EditText(g, s);
           }},
           field.pinned());
}

void User::select(Target field, int start, int end) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, field, start, end] {
             TGadget* g = Reach(d, field, "select");
             if (!g || !IsTextBox(g)) return;
             FocusTextBox(d, g);
             Peer& p = NativePeer(g);
             const int size = static_cast<int>(p.text.size());
             p.selection_start = std::clamp(start, 0, size);
             p.selection_end = std::clamp(end, 0, size);
             input::SelectionChanged(g, p.selection_start, p.selection_end);
           }},
           field.pinned());
}

void User::right_click(Target area, int x, int y) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, area, x, y] {
             TGadget* g = Reach(d, area, "right_click");
             if (!g) return;
             BringToFront(d, g);
             input::ContextMenu(g, x, y);
           }},
           area.pinned());
}

void User::key(Target window, Key key, bool shift) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, window, key, shift] {
             TGadget* w = Reach(d, window, "key");
             if (!w) return;
             if (d.ActiveWindow() != w) {
               d.Ignored("key: keys go to the active window, not " + window.Describe());
               return;
             }
             if (!input::KeyPressed(w, key, shift)) NativeKey(d, key);
           }},
           window.pinned());
}

void User::drag_slider(Target slider, std::initializer_list<int> positions) {
  drag_slider(std::move(slider), std::vector<int>(positions));
}

void User::drag_slider(Target slider, const std::vector<int>& positions) {
  THeadlessDriver& d = driver_;
  std::vector<THeadlessDriver::Message> step;
  step.emplace_back([&d, slider] {
    if (TGadget* g = Reach(d, slider, "drag_slider"); g && g->kind() == kSlider) GiveFocus(d, g);
  });
  for (int p : positions) {
    step.emplace_back([slider, p] {
      if (TGadget* g = slider.Resolve(); g->alive() && g->kind() == kSlider) MoveThumb(g, p);
    });
  }
  // Letting go of the thumb notifies once more where it stands.
  step.emplace_back([&d, slider] {
    if (TGadget* g = slider.Resolve(); g->alive() && g->kind() == kSlider) MoveThumb(g, d.PeerOf(g).slider_position);
  });
  d.Script(std::move(step), slider.pinned());
}

void User::touch_thumb(Target slider) { drag_slider(std::move(slider), std::vector<int>{}); }

void User::choose_menu(Target item) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, item] {
             TGadget* g = item.Resolve();
             if (g->alive() && g->kind() == kMenuItem) ChooseMenu(d, g);
           }},
           item.pinned());
}

void User::close(Target window) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, window] {
             if (TGadget* w = Reach(d, window, "close")) input::CloseAsked(w);
           }},
           window.pinned());
}

void User::move(Target window, int x, int y) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, window, x, y] {
             TGadget* w = Reach(d, window, "move");
             if (!w) return;
             NativePeer(w).rect.x = x;
             NativePeer(w).rect.y = y;
             input::WindowMoved(w, x, y);
           }},
           window.pinned());
}

void User::resize(Target window, int width, int height) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, window, width, height] {
             TGadget* w = Reach(d, window, "resize");
             if (!w) return;
             NativePeer(w).rect.width = width;
             NativePeer(w).rect.height = height;
             input::WindowSized(w, width, height);
           }},
           window.pinned());
}

void User::activate(Target window) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, window] {
             if (TGadget* w = Reach(d, window, "activate")) BringToFront(d, w);
           }},
           window.pinned());
}

void User::switch_away() {
  THeadlessDriver& d = driver_;
  d.Script({[&d] {
             d.NativeActiveWindow(nullptr);
             d.NativeFocusMoved(nullptr);
             input::AppSuspended();
           }},
           nullptr);
}

void User::come_back(Target window) {
  THeadlessDriver& d = driver_;
  d.Script({[&d, window] {
             TGadget* w = Reach(d, window, "come_back");
             input::AppResumed();
             if (w) BringToFront(d, w);
           }},
           window.pinned());
}

}  // namespace raziz::ui::headless
