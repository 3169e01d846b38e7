#pragma once

// Hands an address (UTF-8) to the desktop's open operation and returns.
void openInDesktopBrowser(const char* address);
