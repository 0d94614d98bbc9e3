// The platform reaching for the sound services, which stand above it: the build must refuse it.
#include "sound/Wave.h"
