#pragma once
// The folder the program's images are read from: the one holding its executable.

#include <filesystem>
#include <string>

namespace raziz {

enum class PathStyle {
  posix,    // "/" separates; a leading "/" (the root) stays
  windows,  // "\" and "/" separate; "C:\" stays when the executable sits in a drive's root
};

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::posix;
#endif

// The executable's path cut at its last separator. A separator that would leave nothing (the POSIX root) or
// that follows a drive letter's colon stays. A path with no separator gives an empty string: no folder.
std::filesystem::path::string_type program_folder(const std::filesystem::path::string_type& executable_path,
                                                  PathStyle style = kNativePathStyle);

// Makes program_folder(executable_path) the working directory. A failure (or no folder) leaves it unchanged.
void enter_program_folder(const std::filesystem::path& executable_path);

}  // namespace raziz
