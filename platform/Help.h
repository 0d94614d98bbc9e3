#pragma once
#include <QString>
#include <cstdint>

class QWidget;

namespace platform {

inline constexpr std::uint32_t HELP_CONTENTS = 3;

// Opens a help file in a help window that lives on its own.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void WinHelp(QWidget* owner, const QString& helpFile, std::uint32_t command, std::uint32_t data) = 0;
};

// Starts the separate help viewer beside the program, detached from it.
class ViewerHelpService : public HelpService {
public:
    void WinHelp(QWidget* owner, const QString& helpFile, std::uint32_t command, std::uint32_t data) override;
};

}  // namespace platform
