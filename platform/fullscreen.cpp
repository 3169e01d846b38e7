#include "platform/fullscreen.h"

#include <webkit2/webkit2.h>

namespace {

GdkRectangle screenOf(GtkWidget* widget) {
  GdkRectangle screen{0, 0, 0, 0};
  GdkWindow* window = gtk_widget_get_window(gtk_widget_get_toplevel(widget));
  if (!window) return screen;
  if (GdkMonitor* monitor =
          gdk_display_get_monitor_at_window(gdk_window_get_display(window), window))
    gdk_monitor_get_geometry(monitor, &screen);
  return screen;
}

gboolean enterFullScreen(WebKitWebView*, gpointer data) {
  auto* state = static_cast<PageFullScreen*>(data);
  if (state->active) return FALSE;
  gtk_container_child_get(GTK_CONTAINER(state->layout), state->pane, "x", &state->paneLeft, "y",
                          &state->paneTop, nullptr);
  gtk_widget_get_size_request(state->pane, &state->paneWidth, &state->paneHeight);
  for (GtkWidget* label : state->labels) gtk_widget_hide(label);
  const GdkRectangle screen = screenOf(state->pane);
  gtk_layout_move(GTK_LAYOUT(state->layout), state->pane, 0, 0);
  gtk_widget_set_size_request(state->pane, screen.width, screen.height);
  state->active = true;
  return FALSE;  // the engine goes on to make the window full screen
}

gboolean leaveFullScreen(WebKitWebView*, gpointer data) {
  auto* state = static_cast<PageFullScreen*>(data);
  if (!state->active) return FALSE;
  gtk_layout_move(GTK_LAYOUT(state->layout), state->pane, state->paneLeft, state->paneTop);
  gtk_widget_set_size_request(state->pane, state->paneWidth, state->paneHeight);
  for (GtkWidget* label : state->labels) gtk_widget_show(label);
  state->active = false;
  return FALSE;  // the engine goes on to give the window its earlier state
}

}  // namespace

void followPageFullScreen(GtkWidget* webView, PageFullScreen& state) {
  g_signal_connect(webView, "enter-fullscreen", G_CALLBACK(enterFullScreen), &state);
  g_signal_connect(webView, "leave-fullscreen", G_CALLBACK(leaveFullScreen), &state);
}
