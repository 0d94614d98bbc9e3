#include "platform/Help.h"

namespace platform {

void ViewerHelpService::WinHelp(QWidget*, const QString&, std::uint32_t, std::uint32_t)
{
    // The help viewer arrives with the help menu.
}

}  // namespace platform
