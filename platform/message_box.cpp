#include "platform/message_box.h"

#include <gtk/gtk.h>

#include <cstdio>

namespace {

struct Icon {
  GtkMessageType type;
  const char* name;
};

// The icon bits of the flags: 16 stop, 32 question, 48 exclamation, 64 information.
Icon iconOf(unsigned flags) {
  switch (flags & 0xF0) {
    case 16:
      return {GTK_MESSAGE_ERROR, "dialog-error"};
    case 32:
      return {GTK_MESSAGE_QUESTION, "dialog-question"};
    case 48:
      return {GTK_MESSAGE_WARNING, "dialog-warning"};
    case 64:
      return {GTK_MESSAGE_INFO, "dialog-information"};
    default:
      return {GTK_MESSAGE_OTHER, nullptr};
  }
}

// A word longer than the line, such as a run of bytes from a server, breaks
// between characters: the box stays as wide as its lines, within the screen.
void wrapWithinLines(GtkMessageDialog* box) {
  GList* children =
      gtk_container_get_children(GTK_CONTAINER(gtk_message_dialog_get_message_area(box)));
  for (GList* child = children; child; child = child->next) {
    if (!GTK_IS_LABEL(child->data)) continue;
    gtk_label_set_line_wrap(GTK_LABEL(child->data), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(child->data), PANGO_WRAP_WORD_CHAR);
  }
  g_list_free(children);
}

}  // namespace

void showMessageBox(const char* text, unsigned flags, const char* caption) {
  if (!gdk_display_get_default()) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return;
  }
  const Icon icon = iconOf(flags);
  GtkWidget* box =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, icon.type, GTK_BUTTONS_OK, "%s", text);
  gtk_window_set_title(GTK_WINDOW(box), caption);
  wrapWithinLines(GTK_MESSAGE_DIALOG(box));
  gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
  gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
  if (icon.name) {
    // GTK 3 message boxes no longer show their type's icon by themselves.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    GtkWidget* image = gtk_image_new_from_icon_name(icon.name, GTK_ICON_SIZE_DIALOG);
    gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(box), image);
    gtk_widget_show(image);
    G_GNUC_END_IGNORE_DEPRECATIONS
  }
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
}

void showErrorBox(const char* text) {
  showMessageBox(text, 16, "Vexaline");
}
