// Keys that belong to the page's engine or act on the pane, not the window.
#pragma once

#include <gtk/gtk.h>

// True while Escape is the engine's: the page is full screen, or the engine
// shows one of its own dialogs (a script's alert, confirm, prompt or leave
// question, a log-in) inside the pane. The window then hands Escape on.
bool engineTakesEscape(GtkWidget* webView, bool pageFullScreen);

// For a key the page left alone and the engine handed back to the window:
// F5 and Ctrl+R reload the pane, Alt+Left and Alt+Right go back and forward.
// True when the key was one of these.
bool runBrowserKey(GtkWidget* webView, const GdkEventKey& event);
