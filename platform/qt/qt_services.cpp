#include "platform/qt/qt_services.h"

namespace kv {

Services QtServices::services() {
  return Services{dialogs, pump, clock, help, pump, timer1};
}

}  // namespace kv
