// What a screen reader finds of a channel label: a push button named by its
// caption, with one action that does what a left press does.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

// A drawing area that screen readers see as the button `name`; `press` runs
// when they invoke its action.
GtkWidget* newAccessibleLabelArea(const std::string& name, std::function<void()> press);
