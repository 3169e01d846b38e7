#include "platform/open_address.h"

#include <gio/gio.h>

#include <cstdio>
#include <string>

#include "platform/glib_handles.h"

namespace {

// A desktop browser started over the session bus gets the address in a bus
// call that is only queued when the launch returns; a process that ends at
// once can take it down unsent. So the open waits for the desktop's answer,
// but no longer than this.
constexpr guint answerLimitMs = 5000;

struct Launch {
  bool answered = false;
  bool timedOut = false;
  GErrorPtr error;
};

void onLaunched(GObject*, GAsyncResult* result, gpointer data) {
  auto* launch = static_cast<Launch*>(data);
  GError* error = nullptr;
  if (!g_app_info_launch_default_for_uri_finish(result, &error)) launch->error.reset(error);
  launch->answered = true;
}

// A private context, so that no event of the program's own runs meanwhile;
// an answer that comes too late is never dispatched.
struct PrivateContext {
  GMainContext* context = g_main_context_new();
  PrivateContext() { g_main_context_push_thread_default(context); }
  ~PrivateContext() {
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
  }
};

void reportFailure(const std::string& uri, const char* why) {
  std::string line = why;
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  std::fprintf(stderr, "vexaline: the desktop did not open %s: %s\n", uri.c_str(), line.c_str());
}

}  // namespace

void openInDesktopBrowser(const char* address) {
  // A Linux desktop opens a bare host name as a file, not a web page: give
  // it the scheme it needs.
  std::string uri = address;
  if (uri.find("://") == std::string::npos) uri = "http://" + uri;

  Launch launch;
  {
    PrivateContext waiting;
    g_app_info_launch_default_for_uri_async(uri.c_str(), nullptr, nullptr, onLaunched, &launch);
    GSource* limit = g_timeout_source_new(answerLimitMs);
    g_source_set_callback(
        limit,
        [](gpointer data) -> gboolean {
          static_cast<Launch*>(data)->timedOut = true;
          return G_SOURCE_REMOVE;
        },
        &launch, nullptr);
    g_source_attach(limit, waiting.context);
    while (!launch.answered && !launch.timedOut) g_main_context_iteration(waiting.context, TRUE);
    g_source_destroy(limit);
    g_source_unref(limit);
  }
  if (launch.error)
    reportFailure(uri, launch.error->message);
  else if (!launch.answered)
    reportFailure(uri, "no answer within 5 s");
}
