#pragma once

#include <gtk/gtk.h>

// Draws the page in software, the cheapest way to play video where no
// graphics processor helps, and lets the engine composite only while the page
// is full screen, where it shows a full-screen video through compositing alone.
// New windows share the pane's settings, so each view follows its own full
// screen.
void drawInSoftwareOutsideFullScreen(GtkWidget* view);
