// A rule that reaches into the layer above it: the build must refuse it.
#include "platform/Sound.h"
