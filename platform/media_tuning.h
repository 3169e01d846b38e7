#pragma once

#include <gtk/gtk.h>

// Draws the page in software, the cheapest way to play video on machines
// with or without a graphics processor that the engine can use, and lets the
// engine composite only while the page is full screen, where it shows a
// full-screen video through compositing alone.
void drawInSoftwareOutsideFullScreen(GtkWidget* view);
