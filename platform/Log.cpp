#include "platform/Log.h"

namespace platform {

// Static categories: they work before the application object exists, which the
// display check at start-up needs.
Q_LOGGING_CATEGORY(lcAelorin, "aelorin", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSound, "aelorin.sound", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDesktop, "aelorin.desktop", QtInfoMsg)
Q_LOGGING_CATEGORY(lcHelp, "aelorin.help", QtInfoMsg)

}  // namespace platform
