#include "platform/crash_recovery.h"

#include "platform/error_page.h"
#include "platform/glib_handles.h"

namespace {

constexpr gint64 againWithin = 10 * G_USEC_PER_SEC;

struct CrashState {
  gint64 lastEnd = 0;
  bool ended = false;
};

void onProcessEnded(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer data) {
  // The program's own ending of the process is not a crash.
  if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API) return;
  auto* state = static_cast<CrashState*>(data);
  const gint64 now = g_get_monotonic_time();
  const bool again = state->ended && now - state->lastEnd < againWithin;
  state->ended = true;
  state->lastEnd = now;

  GCharPtr address(g_strdup(webkit_web_view_get_uri(view)));
  if (again)
    showTroublePage(view, PageTrouble::Crashed, address.get());
  else if (address)
    webkit_web_view_load_uri(view, address.get());
}

}  // namespace

void recoverFromCrashes(WebKitWebView* view) {
  g_signal_connect_data(
      view, "web-process-terminated", G_CALLBACK(onProcessEnded), new CrashState,
      [](gpointer data, GClosure*) { delete static_cast<CrashState*>(data); }, GConnectFlags(0));
}
