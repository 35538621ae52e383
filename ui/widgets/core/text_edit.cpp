// Edits and selection changes the user makes in text fields and the text area.

#include <algorithm>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

namespace {

int Clamp(int position, const std::string& text) { return std::clamp(position, 0, static_cast<int>(text.size())); }

}  // namespace

void input::TextEdited(TGadget* field, std::string_view text, int selection_start, int selection_end) {
  if (!Core::RaisesEvents(field) || (field->kind_ != kTextField && field->kind_ != kTextArea)) return;
  if (field->text_ == text) {
    SelectionChanged(field, selection_start, selection_end);
    return;
  }
  field->text_ = std::string(text);
  field->selection_start_ = Clamp(selection_start, field->text_);
  field->selection_end_ = Clamp(selection_end, field->text_);
  Core::Raise(kGadgetAction, field);
}

void input::SelectionChanged(TGadget* field, int selection_start, int selection_end) {
  if (!Core::RaisesEvents(field) || (field->kind_ != kTextField && field->kind_ != kTextArea)) return;
  const int start = Clamp(selection_start, field->text_);
  const int end = Clamp(selection_end, field->text_);
  if (start == field->selection_start_ && end == field->selection_end_) return;
  field->selection_start_ = start;
  field->selection_end_ = end;
  if (field->kind_ == kTextArea) Core::Raise(kGadgetSelect, field);
}

}  // namespace raziz::ui
