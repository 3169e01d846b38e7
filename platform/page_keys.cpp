#include "platform/page_keys.h"

#include <webkit2/webkit2.h>

bool engineTakesEscape(GtkWidget* webView, bool pageFullScreen) {
  if (!webView) return false;
  if (pageFullScreen) return true;
  // The engine puts its dialogs into the view as children of their own.
  bool dialogShown = false;
  gtk_container_foreach(
      GTK_CONTAINER(webView),
      [](GtkWidget* child, gpointer shown) {
        if (gtk_widget_get_visible(child)) *static_cast<bool*>(shown) = true;
      },
      &dialogShown);
  return dialogShown;
}

bool runBrowserKey(GtkWidget* webView, const GdkEventKey& event) {
  if (!webView) return false;
  auto* view = WEBKIT_WEB_VIEW(webView);
  const auto modifiers =
      event.state & (GDK_CONTROL_MASK | GDK_SHIFT_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK);
  const guint key = gdk_keyval_to_lower(event.keyval);
  if ((key == GDK_KEY_F5 && modifiers == 0) ||
      (key == GDK_KEY_r && modifiers == GDK_CONTROL_MASK)) {
    webkit_web_view_reload(view);
  } else if ((key == GDK_KEY_Left || key == GDK_KEY_KP_Left) && modifiers == GDK_MOD1_MASK) {
    webkit_web_view_go_back(view);
  } else if ((key == GDK_KEY_Right || key == GDK_KEY_KP_Right) && modifiers == GDK_MOD1_MASK) {
    webkit_web_view_go_forward(view);
  } else {
    return false;
  }
  return true;
}
