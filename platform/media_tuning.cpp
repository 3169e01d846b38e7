#include "platform/media_tuning.h"

#include <webkit2/webkit2.h>

namespace {

void setPolicy(WebKitWebView* view, WebKitHardwareAccelerationPolicy policy) {
  WebKitSettings* settings = webkit_web_view_get_settings(view);
  if (webkit_settings_get_hardware_acceleration_policy(settings) != policy)
    webkit_settings_set_hardware_acceleration_policy(settings, policy);
}

gboolean onEnterFullScreen(WebKitWebView* view, gpointer) {
  setPolicy(view, WEBKIT_HARDWARE_ACCELERATION_POLICY_ALWAYS);
  return FALSE;  // the full screen itself goes on as before
}

gboolean onLeaveFullScreen(WebKitWebView* view, gpointer) {
  setPolicy(view, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  return FALSE;
}

}  // namespace

void drawInSoftwareOutsideFullScreen(GtkWidget* view) {
  setPolicy(WEBKIT_WEB_VIEW(view), WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  g_signal_connect(view, "enter-fullscreen", G_CALLBACK(onEnterFullScreen), nullptr);
  g_signal_connect(view, "leave-fullscreen", G_CALLBACK(onLeaveFullScreen), nullptr);
}
