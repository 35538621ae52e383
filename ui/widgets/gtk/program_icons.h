#pragma once
// The program's icon in the sizes packaging/icons holds, compiled in (PNG bytes). Empty when the build
// found none.

#include <cstddef>
#include <vector>

namespace raziz::ui::gtk {

struct ProgramIcon {
  const unsigned char* data;
  std::size_t size;
};

const std::vector<ProgramIcon>& program_icons();

}  // namespace raziz::ui::gtk
