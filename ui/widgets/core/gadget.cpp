// The operations every gadget shares: text, colours, image, check mark, state and handles.

#include <algorithm>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

namespace {

std::uint8_t Component(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// A byte position cut back to the text's length and to the start of a UTF-8 character, so a driver never
// receives a caret inside a character.
int CutToText(int position, const std::string& text) {
  auto p = static_cast<std::size_t>(std::clamp(position, 0, static_cast<int>(text.size())));
  while (p > 0 && p < text.size() && (static_cast<unsigned char>(text[p]) & 0xC0) == 0x80) --p;
  return static_cast<int>(p);
}

bool HoldsText(int kind) { return kind == kTextField || kind == kTextArea; }

}  // namespace

TGadget::TGadget(int kind, int style_bits) : style(style_bits), kind_(kind) {}

TGadget::~TGadget() = default;

std::intptr_t TGadget::Query(int which) {
  if (!alive_ || (which != 1 && which != 2)) return 0;
  return NativeHandle(which);
}

void TGadget::CleanUp() { Core::Destroy(this); }

void TGadget::Activate(int /*how*/) {
  if (!alive_) return;
  if (kind_ == kWindow) {
    Core::ActivateWithFirstTabStop(this);
    return;
  }
  TGadget* win = window();
  if (!win || !raises_events_) return;
  Core::BecomeActive(win, true);
  if (Core::IsTabStop(this) || kind_ == kPanel || kind_ == kTextArea) Core::SetFocus(win, this, false);
}

int TGadget::State() {
  int state = 0;
  if (detail::Layer().hidden_windows.count(this)) state |= kHidden;
  if (check_ == 1) state |= kChecked;
  if (check_ == -1) state |= kChecked | kIndeterminate;
  return state;
}

void TGadget::SetText(std::string_view new_text) {
  if (!alive_) return;
  text_ = new_text;
  if (kind_ == kMenuItem) name = text_;
  NativeText();
  if (HoldsText(kind_)) {
    selection_start_ = CutToText(selection_start_, text_);
    selection_end_ = CutToText(selection_end_, text_);
    NativeSelection();
  }
}

std::string TGadget::GetText() { return text_; }

void TGadget::SetColor(int red, int green, int blue) {
  if (!alive_) return;
  color_ = Rgb{Component(red), Component(green), Component(blue)};
  has_color_ = true;
  NativePaint();
}

void TGadget::SetTextColor(int red, int green, int blue) {
  if (!alive_) return;
  text_color_ = Rgb{Component(red), Component(green), Component(blue)};
  has_text_color_ = true;
  NativePaint();
}

void TGadget::SetPixmap(std::shared_ptr<const TPixmap> pixmap, int flags) {
  if (!alive_) return;
  pixmap_ = std::move(pixmap);  // the previous image goes once no painter holds it
  pixmap_flags_ = flags;
  NativePaint();
}

void TGadget::SetSelected(int state) {
  if (!alive_) return;
  check_ = state == 0 ? 0 : state == -1 ? -1 : 1;
  NativeCheck();
}

void TGadget::SetAccessibleName(std::string_view accessible_name) {
  if (!alive_) return;
  accessible_name_ = accessible_name;
  NativeAccessibleName();
}

TGadget* TGadget::window() {
  TGadget* g = this;
  while (g && g->kind_ != kWindow) g = g->parent;
  return g;
}

int ButtonState(TGadget* button) {
  if (!button) return 0;
  const int state = button->State();
  if (state & kIndeterminate) return -1;
  if (state & kChecked) return 1;
  return 0;
}

void SetGadgetColor(TGadget* gadget, int red, int green, int blue, int flag) {
  if (!gadget) return;
  if (flag == 1) {
    gadget->SetColor(red, green, blue);
  } else {
    gadget->SetTextColor(red, green, blue);
  }
}

void Core::Raise(int id, TGadget* source, int data, int x, int y) {
  if (source && !RaisesEvents(source)) return;
  TEvent event;
  event.id = id;
  event.source = source;
  event.data = data;
  event.x = x;
  event.y = y;
  Emit(event);
}

}  // namespace raziz::ui
