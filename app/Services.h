#pragma once
#include <QString>
#include <functional>

namespace platform {
class HelpService;
class MessageBoxService;
class SoundService;
}  // namespace platform

// What the main window needs from the world outside it. The program passes the
// real services; tests pass recording fakes.
struct Services {
    platform::SoundService* sound = nullptr;
    platform::MessageBoxService* msgbox = nullptr;
    platform::HelpService* help = nullptr;
    // The previous-instance test: true when another copy already runs.
    std::function<bool()> prevInstance;
    // Ends the program at once, skipping every closing handler.
    std::function<void(int status)> end;
    // The directory that holds the program file.
    QString programDir;
};
