#include "platform/gtk_toolkit.h"

#include <gtk/gtk.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <string>
#include <thread>

#include "platform/box_text.h"
#include "platform/frame_extents.h"
#include "platform/fullscreen.h"
#include "platform/gbk.h"
#include "platform/glib_handles.h"
#include "platform/http_read.h"
#include "platform/label_widget.h"
#include "platform/message_box.h"
#include "platform/open_address.h"
#include "platform/page_keys.h"
#include "platform/user_folders.h"
#include "platform/web_pane.h"
#include "platform/window_style.h"

extern "C" void vexaline_register_resource(void);

namespace {

constexpr char iconResource[] = "/org/vexaline/vexaline.png";

struct OuterSize {
  int width = 0, height = 0;
};

class GtkToolkit final : public Toolkit {
 public:
  Failure prepare() override;
  Failure createWindow(const WindowForm& form, ToolkitEvents& events) override;
  Failure createControl(std::size_t index, const ControlForm& control) override;
  void showControls(const WindowForm& form) override;
  bool windowExists() const override { return window_ != nullptr; }
  void showAndActivate() override;

  int outerWidth() override { return outerSize().width; }
  int outerHeight() override { return outerSize().height; }
  void setControlWidth(const char* control, int width) override {
    resizeControl(control, width, std::nullopt);
  }
  void setControlHeight(const char* control, int height) override {
    resizeControl(control, std::nullopt, height);
  }
  void navigate(const char* control, const char* address) override;

  void messageBox(const char* text, unsigned flags, const char* caption) override {
    showMessageBox(gbkToUtf8(boxText(text).c_str()).c_str(), flags, gbkToUtf8(caption).c_str());
  }
  void errorBox(const char* text) override { showErrorBox(gbkToUtf8(text).c_str()); }
  void openAddress(const char* address) override {
    openInDesktopBrowser(gbkToUtf8(address).c_str());
  }
  std::optional<std::vector<unsigned char>> httpRead(const char* address) override;

  void runLoop() override { gtk_main(); }
  void quitLoop() override { gtk_main_quit(); }
  void destroyWindows() override;
  void release() override;
  [[noreturn]] void exitNow(int code) override;

 private:
  static gboolean onKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean onConfigure(GtkWidget* widget, GdkEventConfigure* event, gpointer self);
  static void onDestroy(GtkWidget* widget, gpointer self);
  GtkWidget* control(const char* name) const;
  OuterSize outerSize() const;
  void resizeControl(const char* name, std::optional<int> width, std::optional<int> height);
  FrameExtents extents() const;

  PrivateFolders privateFolders_;
  GObjectPtr<GdkPixbuf> icon_;
  GtkWidget* window_ = nullptr;
  GtkWidget* layout_ = nullptr;
  GtkWidget* webView_ = nullptr;
  ToolkitEvents* events_ = nullptr;
  std::map<std::string, GtkWidget*> controls_;
  ClickTracker clicks_;
  PageFullScreen fullScreen_;
  FrameExtents requestedExtents_;
  int lastWidth_ = -1, lastHeight_ = -1;
  guint32 lastKeyTime_ = 0;
  guint16 lastKeyCode_ = 0;
};

Failure GtkToolkit::prepare() {
  privateFolders_.prepare();
  // X11 first: only there can a program place its own window.
  gdk_set_allowed_backends("x11,wayland");
  if (!gtk_init_check(nullptr, nullptr)) return "cannot open the display";
  g_set_prgname("vexaline");
  g_set_application_name("Vexaline");

  GCharPtr executable(g_file_read_link("/proc/self/exe", nullptr));
  if (!executable) return "cannot find the program's folder";
  GCharPtr folder(g_path_get_dirname(executable.get()));
  if (chdir(folder.get()) != 0) return "cannot change to the program's folder";

  // Live pages stream HLS; the engine plays it only when asked before it starts.
  g_setenv("WEBKIT_GST_ENABLE_HLS_SUPPORT", "1", FALSE);

  vexaline_register_resource();
  icon_.reset(gdk_pixbuf_new_from_resource(iconResource, nullptr));
  if (!icon_) return "cannot read the program's resources";

  if (!applyWindowStyle()) return "cannot read the window's style";
  return {};
}

Failure GtkToolkit::createWindow(const WindowForm& form, ToolkitEvents& events) {
  events_ = &events;
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  if (!window_) return "cannot create the main window";
  gtk_widget_set_name(window_, mainWindowStyleName);
  gtk_window_set_title(GTK_WINDOW(window_), gbkToUtf8(form.title).c_str());
  gtk_window_set_resizable(GTK_WINDOW(window_), TRUE);
  gtk_widget_set_app_paintable(window_, FALSE);

  GObjectPtr<GdkPixbuf> large(gdk_pixbuf_scale_simple(icon_.get(), 32, 32, GDK_INTERP_HYPER));
  GObjectPtr<GdkPixbuf> small(gdk_pixbuf_scale_simple(icon_.get(), 16, 16, GDK_INTERP_HYPER));
  GList* icons = g_list_append(g_list_append(nullptr, large.get()), small.get());
  gtk_window_set_icon_list(GTK_WINDOW(window_), icons);
  g_list_free(icons);

  layout_ = gtk_layout_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(window_), layout_);
  gtk_widget_show(layout_);

  g_signal_connect(window_, "key-press-event", G_CALLBACK(onKeyPress), this);
  g_signal_connect(window_, "configure-event", G_CALLBACK(onConfigure), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(onDestroy), this);

  // The form's size is the outer size: learn the frame before the first map.
  gtk_widget_realize(window_);
  requestedExtents_ = requestFrameExtents(gtk_widget_get_window(window_));
  const FrameExtents& frame = requestedExtents_;
  gtk_window_resize(GTK_WINDOW(window_), form.outerWidth - frame.left - frame.right,
                    form.outerHeight - frame.top - frame.bottom);

  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  GdkRectangle screen{0, 0, 0, 0};
  if (monitor) gdk_monitor_get_geometry(monitor, &screen);
  const ScreenPlace place = centredPlace(screen.width, screen.height, form);
  gtk_window_move(GTK_WINDOW(window_), screen.x + place.left, screen.y + place.top);
  return {};
}

Failure GtkToolkit::createControl(std::size_t index, const ControlForm& form) {
  if (!form.name) return "a control of the window is missing";
  GtkWidget* widget = nullptr;
  if (form.type == ControlType::HtmlViewer) {
    widget = newWebPane(&webView_);
    if (!widget) return "cannot create the web engine";
    fullScreen_.layout = layout_;
    fullScreen_.pane = widget;
    followPageFullScreen(webView_, fullScreen_);
    followBrowserKeys(webView_);
  } else {
    ToolkitEvents* events = events_;
    widget = newChannelLabel(
        gbkToUtf8(form.caption), form.width, form.height, clicks_,
        [events, index](int x, int y, int keys) { events->labelPressed(index, x, y, keys); });
    fullScreen_.labels.push_back(widget);
  }
  gtk_widget_set_size_request(widget, form.width, form.height);
  gtk_layout_put(GTK_LAYOUT(layout_), widget, form.left, form.top);
  controls_[form.name] = widget;
  return {};
}

void GtkToolkit::showControls(const WindowForm& form) {
  for (const ControlForm& control : form.controls) {
    GtkWidget* widget = controls_[control.name];
    gtk_widget_show(widget);
    gtk_widget_realize(widget);
  }
  // Bottom of the stack first, so that each raise puts the next one above.
  for (auto name = form.stackingTopDown.rbegin(); name != form.stackingTopDown.rend(); ++name) {
    if (GtkWidget* widget = control(*name); widget && gtk_widget_get_has_window(widget))
      gdk_window_raise(gtk_widget_get_window(widget));
  }
  // The pane is the one tab stop: the focus starts in its page.
  if (webView_) gtk_widget_grab_focus(webView_);
}

void GtkToolkit::showAndActivate() {
  gtk_widget_show(window_);
  gtk_window_present(GTK_WINDOW(window_));
}

FrameExtents GtkToolkit::extents() const {
  if (!gtk_widget_get_mapped(window_)) return requestedExtents_;
  return currentFrameExtents(gtk_widget_get_window(window_));
}

OuterSize GtkToolkit::outerSize() const {
  if (!window_) return {};
  int width = 0, height = 0;
  gtk_window_get_size(GTK_WINDOW(window_), &width, &height);
  const FrameExtents frame = extents();
  return {width + frame.left + frame.right, height + frame.top + frame.bottom};
}

GtkWidget* GtkToolkit::control(const char* name) const {
  auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second;
}

void GtkToolkit::resizeControl(const char* name, std::optional<int> width,
                               std::optional<int> height) {
  GtkWidget* widget = control(name);
  if (!widget) return;
  int keptWidth = 0, keptHeight = 0;
  gtk_widget_get_size_request(widget, &keptWidth, &keptHeight);
  gtk_widget_set_size_request(widget, width.value_or(keptWidth), height.value_or(keptHeight));
}

void GtkToolkit::navigate(const char*, const char* address) {
  if (webView_) navigateWebPane(webView_, gbkToUtf8(address).c_str());
}

gboolean GtkToolkit::onKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto* self = static_cast<GtkToolkit*>(data);
  // The engine hands keys its page left alone back to the window a second
  // time; such a repeat is not a new key press.
  if (event->time == self->lastKeyTime_ && event->hardware_keycode == self->lastKeyCode_)
    return FALSE;
  self->lastKeyTime_ = event->time;
  self->lastKeyCode_ = event->hardware_keycode;

  if (event->state & (GDK_CONTROL_MASK | GDK_SHIFT_MASK | GDK_MOD1_MASK)) return FALSE;
  if (event->keyval == GDK_KEY_Escape) {
    if (engineTakesEscape(self->webView_, self->fullScreen_.active)) return FALSE;
    gtk_window_close(GTK_WINDOW(self->window_));
    return TRUE;
  }
  // The pane is the only tab stop, so Tab leaves the focus where it is.
  return event->keyval == GDK_KEY_Tab || event->keyval == GDK_KEY_KP_Tab;
}

gboolean GtkToolkit::onConfigure(GtkWidget* widget, GdkEventConfigure* event, gpointer data) {
  auto* self = static_cast<GtkToolkit*>(data);
  // Sizes of the hidden window are the building's own; they raise nothing.
  if (!gtk_widget_get_mapped(widget)) return FALSE;
  // The page's full screen is the engine's; the window keeps its earlier size.
  if (self->fullScreen_.active) return FALSE;
  if (event->width == self->lastWidth_ && event->height == self->lastHeight_) return FALSE;
  self->lastWidth_ = event->width;
  self->lastHeight_ = event->height;
  // Let GTK take the new size first so that the outer size reads it.
  g_idle_add_full(
      G_PRIORITY_HIGH_IDLE - 20,
      [](gpointer data) -> gboolean {
        auto* self = static_cast<GtkToolkit*>(data);
        if (self->window_) self->events_->sizeChanged();
        return G_SOURCE_REMOVE;
      },
      self, nullptr);
  return FALSE;
}

void GtkToolkit::onDestroy(GtkWidget*, gpointer data) {
  auto* self = static_cast<GtkToolkit*>(data);
  self->window_ = nullptr;
  self->layout_ = nullptr;
  self->webView_ = nullptr;
  self->controls_.clear();
  self->fullScreen_ = {};
  self->events_->windowDestroyed();
}

std::optional<std::vector<unsigned char>> GtkToolkit::httpRead(const char* address) {
  // The read blocks the program, not the engine: the engine's own processes
  // start and fetch the start page meanwhile. The window is still hidden, so
  // no input can reach it while the loop turns.
  std::optional<std::vector<unsigned char>> result;
  std::atomic<bool> done{false};
  std::thread reader([&] {
    result = readHttp(address);
    done = true;
    g_main_context_wakeup(nullptr);
  });
  while (!done) g_main_context_iteration(nullptr, TRUE);
  reader.join();
  return result;
}

void GtkToolkit::destroyWindows() {
  if (window_) gtk_widget_destroy(window_);
}

void GtkToolkit::release() {
  if (GdkDisplay* display = gdk_display_get_default()) gdk_display_flush(display);
  privateFolders_.remove();
}

void GtkToolkit::exitNow(int code) {
  std::fflush(nullptr);
  _exit(code);
}

}  // namespace

std::unique_ptr<Toolkit> makeGtkToolkit() {
  return std::make_unique<GtkToolkit>();
}
