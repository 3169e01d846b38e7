// A page whose engine process ended abnormally loads again by itself.
#pragma once

#include <webkit2/webkit2.h>

// The view reloads the address it showed, once; a second end within ten
// seconds shows the trouble page with a retry link instead.
void recoverFromCrashes(WebKitWebView* view);
