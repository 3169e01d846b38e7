// What every view of a page does beyond the engine's defaults, in the pane
// and in the windows that pages open.
#pragma once

#include <webkit2/webkit2.h>

void addPageBehaviour(WebKitWebView* view);
