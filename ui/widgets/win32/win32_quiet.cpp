#include "ui/widgets/win32/win32_quiet.h"

namespace raziz::ui::win32 {
namespace {
int depth = 0;  // one thread: the UI's
}

ProgramChange::ProgramChange() { ++depth; }
ProgramChange::~ProgramChange() { --depth; }
bool ProgramChange::InProgress() { return depth > 0; }

}  // namespace raziz::ui::win32
