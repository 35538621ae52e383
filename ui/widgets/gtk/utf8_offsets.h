#pragma once
// The core counts text positions in bytes; GTK's editables count characters.

#include <glib.h>

#include <string>

namespace raziz::ui::gtk {

inline int chars_to_bytes(const std::string& text, int chars) {
  const glong total = g_utf8_strlen(text.c_str(), static_cast<gssize>(text.size()));
  if (chars > total) chars = static_cast<int>(total);
  return static_cast<int>(g_utf8_offset_to_pointer(text.c_str(), chars < 0 ? 0 : chars) - text.c_str());
}

inline int bytes_to_chars(const std::string& text, int bytes) {
  if (bytes < 0) bytes = 0;
  if (bytes > static_cast<int>(text.size())) bytes = static_cast<int>(text.size());
  return static_cast<int>(g_utf8_strlen(text.c_str(), bytes));
}

}  // namespace raziz::ui::gtk
