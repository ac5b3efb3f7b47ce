#include "acrohost/Handles.h"

#include <atomic>

namespace acrohost {

uintptr_t NextHandleSerial() {
  static std::atomic<uintptr_t> last{0};
  return ++last;
}

}  // namespace acrohost
