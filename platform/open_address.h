#pragma once

// Hands an address (UTF-8) to the desktop's open operation and returns once
// the desktop has taken it, or has failed to, within a few seconds. A failure
// is one line on the error output, nothing more.
void openInDesktopBrowser(const char* address);
