#include "app/end_process.h"

#include <cstdio>
#include <cstdlib>

namespace raziz {

void end_process_now(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}

}  // namespace raziz
