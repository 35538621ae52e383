#pragma once
// Screen readers ask a window for its accessible object (WM_GETOBJECT). The system's standard objects name
// buttons, boxes and labels by their captions but give edits, track bars and our own panels no name, so a
// gadget with a name of its own answers with the standard object wearing that name.

#include <string_view>

#include "ui/widgets/win32/win32_api.h"

namespace raziz::ui::win32 {

// Answers WM_GETOBJECT for `hwnd`'s client object with `name` (UTF-8). False when the request is for another
// object or the accessibility library cannot be had: the window's default handling then answers.
bool AnswerGetObject(HWND hwnd, WPARAM w, LPARAM l, std::string_view name, LRESULT& result);

// Tells listening screen readers that the name of `hwnd`'s client object changed.
void NameChanged(HWND hwnd);

}  // namespace raziz::ui::win32
