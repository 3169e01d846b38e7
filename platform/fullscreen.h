// The page's full screen: while the engine holds the window full screen the
// pane alone covers it from its top-left corner, and on leaving the labels and
// the pane come back exactly as they were.
#pragma once

#include <gtk/gtk.h>

#include <vector>

struct PageFullScreen {
  GtkWidget* layout = nullptr;
  GtkWidget* pane = nullptr;
  std::vector<GtkWidget*> labels;
  bool active = false;
  // Where the pane stood before, to put it back.
  int paneLeft = 0, paneTop = 0, paneWidth = -1, paneHeight = -1;
};

// Follows the view's requests to enter and leave full screen. The engine
// itself makes the window full screen and normal again; `state` must live as
// long as the view.
void followPageFullScreen(GtkWidget* webView, PageFullScreen& state);
