// The window services' toolkit on GTK 3, WebKitGTK and libcurl.
#pragma once

#include <memory>

#include "shell/toolkit.h"

std::unique_ptr<Toolkit> makeGtkToolkit();
