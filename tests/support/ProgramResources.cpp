// SPDX-License-Identifier: Apache-2.0
// Every test executable sees the program's resources, as the program does
// once its application object exists.
#include "res/Resources.h"

namespace
{
const bool registered = (ResRegisterProgramResources(), true);
} // namespace
