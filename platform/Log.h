#pragma once
#include <QLoggingCategory>

// Reports meant for whoever runs the program from a terminal, not for the user,
// printed as "<category>: <message>". Warnings and worse show by default; the
// debug reports (a sound that stays silent, a claim that could not be made)
// show when QT_LOGGING_RULES asks for them, "aelorin*.debug=true" for all.
namespace platform {

// "aelorin": the program itself: its start-up and the data files it reads.
Q_DECLARE_LOGGING_CATEGORY(lcAelorin)
// "aelorin.sound": the sound device and the wave files it plays.
Q_DECLARE_LOGGING_CATEGORY(lcSound)
// "aelorin.desktop": what the program meets on the desktop: the single-copy
// claim and the stop signals.
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
// "aelorin.help": starting the help viewer, and the viewer's own reports.
Q_DECLARE_LOGGING_CATEGORY(lcHelp)

}  // namespace platform

// The program's own category is used throughout, by its short name.
using platform::lcAelorin;
