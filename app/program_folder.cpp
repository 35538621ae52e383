#include "app/program_folder.h"

#include <system_error>

namespace raziz {

std::filesystem::path::string_type program_folder(const std::filesystem::path::string_type& executable_path,
                                                  PathStyle style) {
  using Char = std::filesystem::path::value_type;
  const auto is_separator = [style](Char c) {
    return c == Char('/') || (style == PathStyle::windows && c == Char('\\'));
  };

  std::size_t cut = executable_path.size();
  while (cut > 0 && !is_separator(executable_path[cut - 1])) --cut;
  if (cut == 0) return {};  // a bare file name: no folder to go to

  std::size_t separator = cut - 1;
  const bool is_root = separator == 0;
  const auto is_letter = [](Char c) {
    return (c >= Char('A') && c <= Char('Z')) || (c >= Char('a') && c <= Char('z'));
  };
  const bool after_drive_colon =
      style == PathStyle::windows && separator == 2 && executable_path[1] == Char(':') && is_letter(executable_path[0]);
  if (is_root || after_drive_colon) ++separator;  // keep the separator: "/" or "C:\" is the folder
  return executable_path.substr(0, separator);
}

void enter_program_folder(const std::filesystem::path& executable_path) {
  const std::filesystem::path folder = program_folder(executable_path.native());
  if (folder.empty()) return;
  std::error_code ignored;
  std::filesystem::current_path(folder, ignored);
}

}  // namespace raziz
