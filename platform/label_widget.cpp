#include "platform/label_widget.h"

#include <cmath>
#include <memory>

#include "platform/label_access.h"

namespace {

struct LabelState {
  std::string caption;
  ClickTracker* tracker;
  LabelPressed pressed;
};

gboolean drawLabel(GtkWidget* widget, cairo_t* cr, gpointer data) {
  const auto* state = static_cast<LabelState*>(data);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, state->caption.c_str());
  pango_layout_set_wrap(layout, PANGO_WRAP_CHAR);
  pango_layout_set_width(layout, -1);  // one line, cut by the widget's edge
  int textWidth = 0, textHeight = 0;
  pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
  cairo_set_source_rgb(cr, 0, 1, 0);
  cairo_move_to(cr, 0, (gtk_widget_get_allocated_height(widget) - textHeight) / 2);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  return TRUE;
}

gboolean pressLabel(GtkWidget* widget, GdkEventButton* event, gpointer data) {
  auto* state = static_cast<LabelState*>(data);
  if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_PRIMARY) return FALSE;
  if (!state->tracker->isFirstPress(widget, *event)) return FALSE;
  int keys = 0;
  if (event->state & GDK_CONTROL_MASK) keys |= 1;
  if (event->state & GDK_SHIFT_MASK) keys |= 2;
  if (event->state & GDK_MOD1_MASK) keys |= 4;
  const int x = static_cast<int>(event->x) & 0xFFFF;
  const int y = static_cast<int>(event->y) & 0xFFFF;
  state->pressed(x, y, keys);
  return FALSE;  // the press goes on to the label
}

void realizeLabel(GtkWidget* widget, gpointer) {
  GdkWindow* window = gtk_widget_get_window(widget);
  GdkCursor* hand = gdk_cursor_new_from_name(gdk_window_get_display(window), "pointer");
  gdk_window_set_cursor(window, hand);
  if (hand) g_object_unref(hand);
}

}  // namespace

bool ClickTracker::isFirstPress(GtkWidget* widget, const GdkEventButton& event) {
  int doubleClickTime = 400, doubleClickDistance = 5;
  g_object_get(gtk_widget_get_settings(widget), "gtk-double-click-time", &doubleClickTime,
               "gtk-double-click-distance", &doubleClickDistance, nullptr);
  const bool second = awaitingSecond && widget == lastWidget &&
                      event.time - lastTime <= static_cast<guint32>(doubleClickTime) &&
                      std::fabs(event.x_root - lastX) <= doubleClickDistance &&
                      std::fabs(event.y_root - lastY) <= doubleClickDistance;
  awaitingSecond = !second;
  lastWidget = widget;
  lastTime = event.time;
  lastX = event.x_root;
  lastY = event.y_root;
  return !second;
}

GtkWidget* newChannelLabel(const std::string& captionUtf8, int width, int height,
                           ClickTracker& tracker, LabelPressed pressed) {
  auto* state = new LabelState{captionUtf8, &tracker, std::move(pressed)};
  // Screen readers name the label by its words; their press is a plain left
  // press in the label's middle.
  const std::size_t words = captionUtf8.find_first_not_of(' ');
  GtkWidget* area =
      newAccessibleLabelArea(words == std::string::npos ? std::string() : captionUtf8.substr(words),
                             [state, width, height] { state->pressed(width / 2, height / 2, 0); });
  gtk_widget_set_size_request(area, width, height);
  gtk_widget_set_can_focus(area, FALSE);
  gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK);
  g_signal_connect(area, "draw", G_CALLBACK(drawLabel), state);
  g_signal_connect(area, "button-press-event", G_CALLBACK(pressLabel), state);
  g_signal_connect(area, "realize", G_CALLBACK(realizeLabel), nullptr);
  g_object_set_data_full(G_OBJECT(area), "vexaline-label", state,
                         [](gpointer data) { delete static_cast<LabelState*>(data); });
  return area;
}
