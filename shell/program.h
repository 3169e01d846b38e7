// The program's start and end.
#pragma once

#include "shell/texts.h"
#include "shell/window_services.h"

// The program's one global: the version fetched by the check.
extern Text versionText;

int programMain(WindowServices& services);
void initGlobals();
void releaseGlobals(WindowServices& services);
