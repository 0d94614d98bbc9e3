#pragma once
#include <QLoggingCategory>

// Reports meant for whoever runs the program from a terminal, not for the user:
// printed as "aelorin: <message>". Warnings and worse show by default; the
// debug reports (a sound that stays silent, say) show when QT_LOGGING_RULES
// asks for "aelorin.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcAelorin)
