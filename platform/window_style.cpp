#include "platform/window_style.h"

#include <gtk/gtk.h>

#include "platform/glib_handles.h"

bool applyWindowStyle() {
  static constexpr char css[] =
      "#vexaline-main, #vexaline-main layout { background-color: #000000; }"
      "#vexaline-main { font-size: 9pt; }"
      "#vexaline-pane { background-color: #ffffff; }";
  GObjectPtr<GtkCssProvider> provider(gtk_css_provider_new());
  if (!gtk_css_provider_load_from_data(provider.get(), css, -1, nullptr)) return false;
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                            GTK_STYLE_PROVIDER(provider.get()),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  return true;
}
