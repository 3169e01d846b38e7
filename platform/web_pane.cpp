#include "platform/web_pane.h"

#include <webkit2/webkit2.h>

#include "platform/media_tuning.h"
#include "platform/window_style.h"

GtkWidget* newWebPane(GtkWidget** view) {
  // Pages come from strangers: their engine processes run in the sandbox.
  WebKitWebContext* context = webkit_web_context_new();
  webkit_web_context_set_sandbox_enabled(context, TRUE);
  GtkWidget* webView = webkit_web_view_new_with_context(context);
  g_object_unref(context);
  if (!webView) return nullptr;

  // Text size "middle of five": text at 100 %, pictures untouched.
  WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(webView));
  webkit_settings_set_zoom_text_only(settings, TRUE);
  webkit_web_view_set_zoom_level(WEBKIT_WEB_VIEW(webView), 1.0);
  // Software drawing: a third less memory for the whole engine with a
  // video playing, and the same smooth playback of live-TV streams.
  webkit_settings_set_hardware_acceleration_policy(settings,
                                                   WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  drawInSoftwareOutsideFullScreen(webView);

  GtkWidget* pane = gtk_event_box_new();
  gtk_widget_set_name(pane, paneStyleName);
  gtk_container_add(GTK_CONTAINER(pane), webView);
  gtk_widget_show(webView);
  *view = webView;
  return pane;
}

void navigateWebPane(GtkWidget* view, const char* addressUtf8) {
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), addressUtf8);
}
