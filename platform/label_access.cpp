#include "platform/label_access.h"

#include <gtk/gtk-a11y.h>

namespace {

constexpr char pressKey[] = "vexaline-label-press";

struct LabelArea {
  GtkDrawingArea parent;
};
struct LabelAreaClass {
  GtkDrawingAreaClass parent;
};

struct LabelAccessible {
  GtkWidgetAccessible parent;
};
struct LabelAccessibleClass {
  GtkWidgetAccessibleClass parent;
};

void label_accessible_action_init(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(LabelAccessible, label_accessible, GTK_TYPE_WIDGET_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, label_accessible_action_init))

void label_accessible_init(LabelAccessible*) {}
void label_accessible_class_init(LabelAccessibleClass*) {}

gboolean pressAction(AtkAction* action, gint index) {
  GtkWidget* widget = gtk_accessible_get_widget(GTK_ACCESSIBLE(action));
  // A label that cannot be seen cannot be pressed either.
  if (index != 0 || !widget || !gtk_widget_get_mapped(widget)) return FALSE;
  auto* press = static_cast<std::function<void()>*>(g_object_get_data(G_OBJECT(widget), pressKey));
  if (!press) return FALSE;
  (*press)();
  return TRUE;
}

void label_accessible_action_init(AtkActionIface* iface) {
  iface->do_action = pressAction;
  iface->get_n_actions = [](AtkAction*) -> gint { return 1; };
  iface->get_name = [](AtkAction*, gint index) -> const gchar* {
    return index == 0 ? "click" : nullptr;
  };
}

G_DEFINE_TYPE(LabelArea, label_area, GTK_TYPE_DRAWING_AREA)

void label_area_init(LabelArea*) {}
void label_area_class_init(LabelAreaClass* klass) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), label_accessible_get_type());
  gtk_widget_class_set_accessible_role(GTK_WIDGET_CLASS(klass), ATK_ROLE_PUSH_BUTTON);
}

}  // namespace

GtkWidget* newAccessibleLabelArea(const std::string& name, std::function<void()> press) {
  auto* area = GTK_WIDGET(g_object_new(label_area_get_type(), nullptr));
  g_object_set_data_full(G_OBJECT(area), pressKey, new std::function<void()>(std::move(press)),
                         [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
  atk_object_set_name(gtk_widget_get_accessible(area), name.c_str());
  return area;
}
