// The start-up version check and the forced update.
#pragma once

#include "shell/window_services.h"

inline constexpr char currentVersion[] = "1.4";

void checkVersion(WindowServices& services);
