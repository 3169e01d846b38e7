// A channel label: paints its own black rectangle with a green caption and
// reports left-button presses, leaving the second press of a double click out.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

using LabelPressed = std::function<void(int x, int y, int keys)>;

// The state that tells a plain press from the second press of a double
// click; shared by all labels, since a double click never spans two of them.
struct ClickTracker {
  GtkWidget* lastWidget = nullptr;
  guint32 lastTime = 0;
  double lastX = 0, lastY = 0;
  bool awaitingSecond = false;

  // True when this press starts a click, false when it completes a double click.
  bool isFirstPress(GtkWidget* widget, const GdkEventButton& event);
};

GtkWidget* newChannelLabel(const std::string& captionUtf8, int width, int height,
                           ClickTracker& tracker, LabelPressed pressed);
