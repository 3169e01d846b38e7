// The window manager's frame around a top-level window.
#pragma once

#include <gdk/gdk.h>

struct FrameExtents {
  int left = 0, right = 0, top = 0, bottom = 0;
};

// Asks the window manager for the extents of a window not yet mapped and
// waits briefly for its answer; all zero without a window manager.
FrameExtents requestFrameExtents(GdkWindow* window);
// The extents the window manager last published for the window.
FrameExtents currentFrameExtents(GdkWindow* window);
