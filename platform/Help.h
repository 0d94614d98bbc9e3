#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class QWidget;

namespace platform {

// The contents page of a help file: the only command the program gives.
inline constexpr std::uint32_t HELP_CONTENTS = 3;

// Opens a help file in a help window that lives on its own.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void WinHelp(QWidget* owner, const QString& helpFile, std::uint32_t command, std::uint32_t data) = 0;
};

// Starts the separate help viewer, detached, with the help file's path. The
// viewer window belongs to no one: it is neither tracked nor closed by the
// program and outlives the main window. Whether the file exists is the viewer's
// concern; it says so in its own window.
class ViewerHelpService : public HelpService {
public:
    // The viewer program beside the running program.
    ViewerHelpService();
    // Another viewer program; tests use it to see what is started.
    explicit ViewerHelpService(const QString& viewerProgram);

    // Only HELP_CONTENTS opens the viewer; other commands are not served.
    void WinHelp(QWidget* owner, const QString& helpFile, std::uint32_t command, std::uint32_t data) override;

    // The program WinHelp starts.
    QString viewerProgram() const;
    // The viewer's arguments for a request, or nothing for a command it does not serve.
    static std::optional<QStringList> ViewerArguments(const QString& helpFile, std::uint32_t command);

    // File name of the viewer, in the same directory as the program.
    static const QString ViewerName;

private:
    QString m_viewer;
};

}  // namespace platform
