#pragma once
// UTF-8 (the core's text) to UTF-16 (the platform's) and back, with caret positions mapped between the two.

#include <string>
#include <string_view>

namespace raziz::ui::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The UTF-16 index of the character that starts at `byte` in `utf8` (a byte inside a character counts as
// the character's start; past the end gives the length).
int Utf16Index(std::string_view utf8, int byte);

// The byte offset in the UTF-8 form of `utf16` of the character at `index`.
int Utf8Offset(std::wstring_view utf16, int index);

}  // namespace raziz::ui::win32
