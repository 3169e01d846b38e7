// The browser pane: its form, its start page and its fitting to the window.
#pragma once

#include <cstdint>

#include "shell/window_form.h"
#include "shell/window_services.h"

inline constexpr char paneControl[] = "超文本浏览框1";
inline constexpr double paneWidthMargin = 7.0;
inline constexpr double paneHeightMargin = 49.0;

ControlForm browserPaneForm();
void showStartPage(WindowServices& services);
void handleSizeChanged(WindowServices& services);

// One dimension of the fit: outer size less the margin, truncated, low 32 bits.
std::int32_t fittedSize(std::int32_t outer, double margin);
