#include "platform/open_address.h"

#include <gio/gio.h>

#include <string>

void openInDesktopBrowser(const char* address) {
  // A Linux desktop opens a bare host name as a file, not a web page: give
  // it the scheme it needs.
  std::string uri = address;
  if (uri.find("://") == std::string::npos) uri = "http://" + uri;
  g_app_info_launch_default_for_uri(uri.c_str(), nullptr, nullptr);
}
