#pragma once

namespace platform {

// Settings of the desktop connection that must be made before the application
// object exists. Call first thing in main().
void PrepareDesktop();

}  // namespace platform
