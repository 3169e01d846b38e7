/* A desktop browser that the session bus starts by name: it owns its
 * application id, answers org.freedesktop.Application.Open, and appends each
 * address it is given to a file before it replies. Prints "ready" once the
 * name is its own; ends on SIGTERM or SIGINT.
 *
 * Usage: fake_dbus_browser APP_ID OBJECT_PATH RECORD_FILE */
#include <gio/gio.h>
#include <glib-unix.h>
#include <stdio.h>

static const char introspection[] =
    "<node><interface name='org.freedesktop.Application'>"
    "<method name='Activate'><arg type='a{sv}' direction='in'/></method>"
    "<method name='Open'><arg type='as' direction='in'/><arg type='a{sv}' direction='in'/></method>"
    "<method name='ActivateAction'><arg type='s' direction='in'/><arg type='av' direction='in'/>"
    "<arg type='a{sv}' direction='in'/></method>"
    "</interface></node>";

static const char* recordFile;

static void record(const char* line) {
  FILE* file = fopen(recordFile, "a");
  if (!file) return;
  fprintf(file, "%s\n", line);
  fclose(file);
}

static void onCall(GDBusConnection* connection, const char* sender, const char* path,
                   const char* interface, const char* method, GVariant* parameters,
                   GDBusMethodInvocation* invocation, gpointer data) {
  (void)connection, (void)sender, (void)path, (void)interface, (void)data;
  if (g_strcmp0(method, "Open") == 0) {
    GVariantIter* uris = NULL;
    const char* uri = NULL;
    g_variant_get(parameters, "(as@a{sv})", &uris, NULL);
    while (g_variant_iter_next(uris, "&s", &uri)) record(uri);
    g_variant_iter_free(uris);
  }
  g_dbus_method_invocation_return_value(invocation, NULL);
}

static void onNameAcquired(GDBusConnection* connection, const char* name, gpointer data) {
  (void)connection, (void)name, (void)data;
  printf("ready\n");
  fflush(stdout);
}

static void onNameLost(GDBusConnection* connection, const char* name, gpointer loop) {
  (void)connection;
  fprintf(stderr, "fake browser: lost or never got %s\n", name);
  g_main_loop_quit(loop);
}

static gboolean onSignal(gpointer loop) {
  g_main_loop_quit(loop);
  return G_SOURCE_REMOVE;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: %s APP_ID OBJECT_PATH RECORD_FILE\n", argv[0]);
    return 2;
  }
  recordFile = argv[3];
  GError* error = NULL;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, NULL, &error);
  if (!bus) {
    fprintf(stderr, "fake browser: %s\n", error->message);
    return 1;
  }
  GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(introspection, NULL);
  static const GDBusInterfaceVTable vtable = {onCall, NULL, NULL, {0}};
  g_dbus_connection_register_object(bus, argv[2], node->interfaces[0], &vtable, NULL, NULL, NULL);

  GMainLoop* loop = g_main_loop_new(NULL, FALSE);
  g_unix_signal_add(SIGTERM, onSignal, loop);
  g_unix_signal_add(SIGINT, onSignal, loop);
  const guint owner = g_bus_own_name_on_connection(bus, argv[1], G_BUS_NAME_OWNER_FLAGS_NONE,
                                                   onNameAcquired, onNameLost, loop, NULL);
  g_main_loop_run(loop);
  g_bus_unown_name(owner);
  g_main_loop_unref(loop);
  g_dbus_node_info_unref(node);
  g_object_unref(bus);
  return 0;
}
