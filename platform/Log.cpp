#include "platform/Log.h"

// A static category: it works before the application object exists, which the
// display check at start-up needs.
Q_LOGGING_CATEGORY(lcAelorin, "aelorin", QtInfoMsg)

namespace platform {
Q_LOGGING_CATEGORY(lcSound, "aelorin.sound", QtInfoMsg)
}  // namespace platform
