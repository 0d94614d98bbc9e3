#pragma once
#include <QLoggingCategory>

// Reports meant for whoever runs the program from a terminal, not for the user:
// printed as "aelorin: <message>". Warnings and worse show by default; the
// debug reports (a sound that stays silent, say) show when QT_LOGGING_RULES
// asks for "aelorin.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcAelorin)

namespace platform {
// Why a sound stays silent: a device or server that cannot be opened or was lost,
// a file that cannot be played, with the sound library's own words. Off unless
// QT_LOGGING_RULES asks for "aelorin.sound.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSound)
}  // namespace platform
