#include "platform/web_pane.h"

#include <webkit2/webkit2.h>

#include "platform/downloads.h"
#include "platform/page_behaviour.h"
#include "platform/window_style.h"

GtkWidget* newWebPane(GtkWidget** view) {
  // The viewer keeps no files: cookies, storage and cache live in memory and
  // end with the run. Pages come from strangers: their engine processes run
  // in the sandbox.
  WebKitWebContext* context = webkit_web_context_new_ephemeral();
  webkit_web_context_set_sandbox_enabled(context, TRUE);
  askBeforeDownloads(context);
  // Channels start playing with their sound when pressed.
  WebKitWebsitePolicies* policies =
      webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, nullptr);
  GtkWidget* webView = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                               "website-policies", policies, nullptr));
  g_object_unref(policies);
  g_object_unref(context);
  if (!webView) return nullptr;

  // Text size "middle of five": text at 100 %, pictures untouched.
  WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(webView));
  webkit_settings_set_zoom_text_only(settings, TRUE);
  webkit_web_view_set_zoom_level(WEBKIT_WEB_VIEW(webView), 1.0);
  // Composited drawing: the engine paints a video that is itself full screen
  // only into a compositing layer, so without one that picture stays black.
  webkit_settings_set_hardware_acceleration_policy(settings,
                                                   WEBKIT_HARDWARE_ACCELERATION_POLICY_ALWAYS);
  addPageBehaviour(WEBKIT_WEB_VIEW(webView));

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
