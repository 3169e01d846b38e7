// Keys that belong to the page's engine or act on the pane, not the window.
#pragma once

#include <gtk/gtk.h>

// True while Escape is the engine's: the page is full screen, or the engine
// shows one of its own dialogs (a script's alert, confirm, prompt or leave
// question, a log-in) inside the pane. The window then hands Escape on.
bool engineTakesEscape(GtkWidget* webView, bool pageFullScreen);

// F5 and Ctrl+R reload the pane, Alt+Left and Alt+Right go back and forward,
// each only when the page let the key through without taking it.
void followBrowserKeys(GtkWidget* webView);
