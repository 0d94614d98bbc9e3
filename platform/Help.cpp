#include "platform/Help.h"
#include "platform/Log.h"

#include <QCoreApplication>
#include <QProcess>

namespace platform {

const QString ViewerHelpService::ViewerName = QStringLiteral("aelorin-help");

ViewerHelpService::ViewerHelpService() = default;

ViewerHelpService::ViewerHelpService(const QString& viewerProgram)
    : m_viewer(viewerProgram)
{
}

QString ViewerHelpService::viewerProgram() const
{
    if (!m_viewer.isEmpty())
        return m_viewer;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + ViewerName;
}

std::optional<QStringList> ViewerHelpService::ViewerArguments(const QString& helpFile, std::uint32_t command)
{
    // The viewer always opens a file at its contents page.
    if (command != HELP_CONTENTS)
        return std::nullopt;
    return QStringList{helpFile};
}

void ViewerHelpService::WinHelp(QWidget*, const QString& helpFile, std::uint32_t command, std::uint32_t)
{
    const std::optional<QStringList> arguments = ViewerArguments(helpFile, command);
    if (!arguments)
        return;
    // The path goes as one argument, never through a shell.
    const QString viewer = viewerProgram();
    if (!QProcess::startDetached(viewer, *arguments))
        qCWarning(lcHelp, "cannot start the help viewer %s", qUtf8Printable(viewer));
}

}  // namespace platform
