# Writes a C++ source holding the PNG files given in ICONS (a ;-list, possibly empty) as byte arrays.
set(body "")
set(entries "")
set(n 0)
foreach(icon IN LISTS ICONS)
  file(READ "${icon}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const unsigned char icon${n}[] = {${bytes}};\n")
  string(APPEND entries "      {icon${n}, sizeof icon${n}},\n")
  math(EXPR n "${n} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from packaging/icons by embed_icons.cmake.
#include \"ui/widgets/gtk/program_icons.h\"

namespace raziz::ui::gtk {
namespace {
${body}}  // namespace

const std::vector<ProgramIcon>& program_icons() {
  static const std::vector<ProgramIcon> icons{
${entries}  };
  return icons;
}

}  // namespace raziz::ui::gtk
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
