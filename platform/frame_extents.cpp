#include "platform/frame_extents.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <optional>

namespace {

std::optional<FrameExtents> readExtents(GdkWindow* window) {
  GdkDisplay* display = gdk_window_get_display(window);
  Display* xdisplay = GDK_DISPLAY_XDISPLAY(display);
  Atom property = gdk_x11_get_xatom_by_name_for_display(display, "_NET_FRAME_EXTENTS");
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  gdk_x11_display_error_trap_push(display);
  const int status = XGetWindowProperty(xdisplay, GDK_WINDOW_XID(window), property, 0, 4, False,
                                        XA_CARDINAL, &type, &format, &count, &after, &data);
  gdk_x11_display_error_trap_pop_ignored(display);
  std::optional<FrameExtents> extents;
  if (status == Success && type == XA_CARDINAL && format == 32 && count == 4) {
    const auto* values = reinterpret_cast<const long*>(data);
    extents = FrameExtents{static_cast<int>(values[0]), static_cast<int>(values[1]),
                           static_cast<int>(values[2]), static_cast<int>(values[3])};
  }
  if (data) XFree(data);
  return extents;
}

}  // namespace

FrameExtents currentFrameExtents(GdkWindow* window) {
  if (!window || !GDK_IS_X11_WINDOW(window)) return {};
  return readExtents(window).value_or(FrameExtents{});
}

FrameExtents requestFrameExtents(GdkWindow* window) {
  if (!window || !GDK_IS_X11_WINDOW(window)) return {};
  GdkScreen* screen = gdk_window_get_screen(window);
  if (!gdk_x11_screen_supports_net_wm_hint(
          screen, gdk_atom_intern_static_string("_NET_REQUEST_FRAME_EXTENTS")))
    return {};
  GdkDisplay* display = gdk_window_get_display(window);
  Display* xdisplay = GDK_DISPLAY_XDISPLAY(display);

  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = GDK_WINDOW_XID(window);
  event.xclient.message_type =
      gdk_x11_get_xatom_by_name_for_display(display, "_NET_REQUEST_FRAME_EXTENTS");
  event.xclient.format = 32;
  XSendEvent(xdisplay, GDK_WINDOW_XID(gdk_screen_get_root_window(screen)), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(xdisplay);

  // The answer is a property change; a window manager answers within a few
  // milliseconds, and one that never does must not hold up the start.
  for (int waited = 0; waited < 500; waited += 2) {
    if (auto extents = readExtents(window)) return *extents;
    g_usleep(2000);
  }
  return {};
}
