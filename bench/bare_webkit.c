/* The floor: a bare WebKitGTK window of the same size that loads one page,
 * with the same engine sandbox, and nothing else. */
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  g_setenv("WEBKIT_GST_ENABLE_HLS_SUPPORT", "1", FALSE);
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 950, 600);
  WebKitWebContext* context = webkit_web_context_new();
  webkit_web_context_set_sandbox_enabled(context, TRUE);
  GtkWidget* view = webkit_web_view_new_with_context(context);
  gtk_container_add(GTK_CONTAINER(window), view);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[1]);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
