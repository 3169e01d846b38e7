// Windows that pages open at the user's request.
#pragma once

#include <webkit2/webkit2.h>

// New-window requests of the view that the user started open a plain
// top-level window of the same engine; the rest stay blocked. The new
// windows close with the window of the first view.
void openNewWindowsFor(WebKitWebView* view);
