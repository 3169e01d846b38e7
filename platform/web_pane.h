// The browser pane's web engine.
#pragma once

#include <gtk/gtk.h>

// A pane holding one web view that fills it; nullptr when the engine cannot
// be created. The view is returned through `view`. With `inMemory` the engine
// keeps its cache and website data in memory only.
GtkWidget* newWebPane(GtkWidget** view, bool inMemory = false);
void navigateWebPane(GtkWidget* view, const char* addressUtf8);
