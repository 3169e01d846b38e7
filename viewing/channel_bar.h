// The channel bar: six labels that point the browser pane at their pages.
#pragma once

#include <array>

#include "shell/window_form.h"
#include "shell/window_services.h"

struct Channel {
  const char* control;
  const char* caption;
  int left;
  int width;
  const char* address;
};

inline constexpr int channelLabelTop = 0;
inline constexpr int channelLabelHeight = 16;

// Left to right on screen.
extern const std::array<Channel, 6> channelTable;

// The form of one label, its press bound to setting the pane's address.
ControlForm channelLabelForm(const char* control, WindowServices& services);
