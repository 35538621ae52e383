#include "ui/widgets/win32/win32_text.h"

#include "ui/widgets/win32/win32_api.h"

#include <algorithm>

namespace raziz::ui::win32 {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = static_cast<int>(utf16.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

int Utf16Index(std::string_view utf8, int byte) {
  const std::size_t end = std::min(utf8.size(), static_cast<std::size_t>(std::max(byte, 0)));
  int index = 0;
  std::size_t i = 0;
  while (i < end) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (i + length > end) break;
    index += length == 4 ? 2 : 1;  // characters beyond the basic plane take a surrogate pair
    i += length;
  }
  return index;
}

int Utf8Offset(std::wstring_view utf16, int index) {
  const std::size_t end = std::min(utf16.size(), static_cast<std::size_t>(std::max(index, 0)));
  int offset = 0;
  for (std::size_t i = 0; i < end; ++i) {
    const wchar_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size()) {
      offset += 4;
      ++i;
    } else {
      offset += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
    }
  }
  return offset;
}

}  // namespace raziz::ui::win32
