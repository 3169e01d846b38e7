// The browser pane's web engine.
#pragma once

#include <gtk/gtk.h>

// A pane holding one web view that fills it; nullptr when the engine cannot
// be created. The view is returned through `view`.
GtkWidget* newWebPane(GtkWidget** view);
void navigateWebPane(GtkWidget* view, const char* addressUtf8);
