#include "platform/page_keys.h"

#include <webkit2/webkit2.h>

#include <cstring>

#include "platform/glib_handles.h"

namespace {

constexpr char watcherWorld[] = "vexaline-keys";
constexpr char watcherHandler[] = "browserKey";

// The engine counts an arrow key as used by its own scrolling, so only the
// page can tell whether a key was left alone. This watcher runs in a world
// of its own, beyond the page's scripts' reach, and looks at each key after
// every handler of the page has had it.
constexpr char watcherScript[] = R"js(
addEventListener('keydown', event => {
  const only = (ctrl, alt) => event.ctrlKey === ctrl && event.altKey === alt &&
                              !event.shiftKey && !event.metaKey;
  let action = '';
  if ((event.key === 'F5' && only(false, false)) ||
      (event.code === 'KeyR' && only(true, false)))
    action = 'reload';
  else if (event.key === 'ArrowLeft' && only(false, true))
    action = 'back';
  else if (event.key === 'ArrowRight' && only(false, true))
    action = 'forward';
  if (!action) return;
  setTimeout(() => {
    if (!event.defaultPrevented) webkit.messageHandlers.browserKey.postMessage(action);
  });
}, true);
)js";

void runBrowserKey(WebKitUserContentManager*, WebKitJavascriptResult* message, gpointer view) {
  GCharPtr action(jsc_value_to_string(webkit_javascript_result_get_js_value(message)));
  auto* webView = WEBKIT_WEB_VIEW(view);
  if (std::strcmp(action.get(), "reload") == 0)
    webkit_web_view_reload(webView);
  else if (std::strcmp(action.get(), "back") == 0)
    webkit_web_view_go_back(webView);
  else if (std::strcmp(action.get(), "forward") == 0)
    webkit_web_view_go_forward(webView);
}

}  // namespace

bool engineTakesEscape(GtkWidget* webView, bool pageFullScreen) {
  if (!webView) return false;
  if (pageFullScreen) return true;
  // The engine puts its dialogs into the view as inner children.
  bool dialogShown = false;
  gtk_container_forall(
      GTK_CONTAINER(webView),
      [](GtkWidget* child, gpointer shown) {
        if (gtk_widget_get_visible(child)) *static_cast<bool*>(shown) = true;
      },
      &dialogShown);
  return dialogShown;
}

void followBrowserKeys(GtkWidget* webView) {
  WebKitUserContentManager* content =
      webkit_web_view_get_user_content_manager(WEBKIT_WEB_VIEW(webView));
  g_signal_connect(content, "script-message-received::browserKey", G_CALLBACK(runBrowserKey),
                   webView);
  webkit_user_content_manager_register_script_message_handler_in_world(content, watcherHandler,
                                                                       watcherWorld);
  WebKitUserScript* script = webkit_user_script_new_for_world(
      watcherScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
      WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, watcherWorld, nullptr, nullptr);
  webkit_user_content_manager_add_script(content, script);
  webkit_user_script_unref(script);
}
