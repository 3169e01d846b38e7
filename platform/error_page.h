// The short Chinese page the pane shows when a page cannot be shown: a load
// that failed, or a page whose engine process ended twice in a row.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

enum class PageTrouble { HostNotFound, Refused, TimedOut, Certificate, Crashed, Other };

// The page as UTF-8 HTML; the address is shown and linked escaped.
std::string troublePage(PageTrouble trouble, const std::string& address);
void showTroublePage(WebKitWebView* view, PageTrouble trouble, const char* address);

// Failed loads of the view show the page instead of the engine's own line.
void showErrorPages(WebKitWebView* view);
