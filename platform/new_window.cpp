#include "platform/new_window.h"

#include <gtk/gtk.h>

#include "platform/page_behaviour.h"

namespace {

// The view whose window owns every window opened from it, however deep.
constexpr char ownerKey[] = "vexaline-owner-view";

WebKitWebView* ownerOf(WebKitWebView* view) {
  auto* owner = static_cast<WebKitWebView*>(g_object_get_data(G_OBJECT(view), ownerKey));
  return owner ? owner : view;
}

void showTitle(WebKitWebView* view, GParamSpec*, gpointer window) {
  const char* title = webkit_web_view_get_title(view);
  if (!title || !*title) title = webkit_web_view_get_uri(view);
  gtk_window_set_title(GTK_WINDOW(window), title ? title : "");
}

void onReadyToShow(WebKitWebView* view, gpointer) {
  GtkWidget* window = gtk_widget_get_toplevel(GTK_WIDGET(view));
  GdkRectangle asked{0, 0, 0, 0};
  webkit_window_properties_get_geometry(webkit_web_view_get_window_properties(view), &asked);
  // The page's size is the page's area; the window draws nothing around it.
  if (asked.width > 0 && asked.height > 0)
    gtk_window_set_default_size(GTK_WINDOW(window), asked.width, asked.height);
  showTitle(view, nullptr, window);
  gtk_widget_show_all(window);
  gtk_window_present(GTK_WINDOW(window));
}

void onClose(WebKitWebView* view, gpointer) {
  gtk_widget_destroy(gtk_widget_get_toplevel(GTK_WIDGET(view)));
}

GtkWidget* onCreate(WebKitWebView* opener, WebKitNavigationAction*, gpointer) {
  WebKitWebView* owner = ownerOf(opener);
  // Related: the same engine process, session, settings and sandbox, so
  // the new page's opener works.
  GtkWidget* view = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", opener, nullptr));
  g_object_set_data(G_OBJECT(view), ownerKey, owner);

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWidget* ownerWindow = gtk_widget_get_toplevel(GTK_WIDGET(owner));
  if (GTK_IS_WINDOW(ownerWindow)) {
    GList* icons = gtk_window_get_icon_list(GTK_WINDOW(ownerWindow));
    gtk_window_set_icon_list(GTK_WINDOW(window), icons);
    g_list_free(icons);
  }
  gtk_window_set_default_size(GTK_WINDOW(window),
                              gtk_widget_get_allocated_width(GTK_WIDGET(opener)),
                              gtk_widget_get_allocated_height(GTK_WIDGET(opener)));
  gtk_container_add(GTK_CONTAINER(window), view);
  // Closing the owner's window ends the program; its windows go with it.
  g_signal_connect_object(owner, "destroy", G_CALLBACK(gtk_widget_destroy), window,
                          G_CONNECT_SWAPPED);

  g_signal_connect(view, "ready-to-show", G_CALLBACK(onReadyToShow), nullptr);
  g_signal_connect(view, "close", G_CALLBACK(onClose), nullptr);
  g_signal_connect(view, "notify::title", G_CALLBACK(showTitle), window);
  g_signal_connect(view, "notify::uri", G_CALLBACK(showTitle), window);
  addPageBehaviour(WEBKIT_WEB_VIEW(view));
  return view;
}

}  // namespace

void openNewWindowsFor(WebKitWebView* view) {
  // The engine turns away a script's window request made without a user
  // gesture before asking here. The context menu's "new window" items carry
  // no gesture of the page, so the request itself cannot be the test.
  webkit_settings_set_javascript_can_open_windows_automatically(webkit_web_view_get_settings(view),
                                                                FALSE);
  g_signal_connect(view, "create", G_CALLBACK(onCreate), nullptr);
}
