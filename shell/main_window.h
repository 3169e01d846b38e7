// MainWindow: its form and its created handler.
#pragma once

#include "shell/window_form.h"
#include "shell/window_services.h"

inline constexpr int mainWindowOuterWidth = 952;
inline constexpr int mainWindowOuterHeight = 625;

struct ScreenPlace {
  int left, top;
};
// Centred on a screen of the given size, halves truncated toward zero.
constexpr ScreenPlace centredPlace(int screenWidth, int screenHeight) {
  return {(screenWidth - mainWindowOuterWidth) / 2, (screenHeight - mainWindowOuterHeight) / 2};
}

WindowForm mainWindowForm(WindowServices& services);
void handleCreated(WindowServices& services);
