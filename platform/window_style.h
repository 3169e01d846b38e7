// The main window's look: black behind everything, and a default interface
// font of 9 pt, at which every channel caption fits its label at 96 DPI.
#pragma once

inline constexpr char mainWindowStyleName[] = "vexaline-main";
inline constexpr char paneStyleName[] = "vexaline-pane";

// Installs the style for the default screen; false when it cannot be read.
bool applyWindowStyle();
