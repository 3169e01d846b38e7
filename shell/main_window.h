// MainWindow: its form and its created handler.
#pragma once

#include "shell/window_form.h"
#include "shell/window_services.h"

inline constexpr int mainWindowOuterWidth = 952;
inline constexpr int mainWindowOuterHeight = 625;

WindowForm mainWindowForm(WindowServices& services);
void handleCreated(WindowServices& services);
