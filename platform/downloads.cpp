#include "platform/downloads.h"

#include <gtk/gtk.h>

#include <string>

#include "platform/glib_handles.h"

namespace {

GtkWindow* windowOf(WebKitDownload* download) {
  WebKitWebView* view = webkit_download_get_web_view(download);
  if (!view) return nullptr;
  GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
  return GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr;
}

// One line, non-modal: the page goes on playing while it stands.
void tell(GtkWindow* parent, const std::string& line) {
  GtkWidget* notice = gtk_message_dialog_new(parent, GTK_DIALOG_DESTROY_WITH_PARENT,
                                             GTK_MESSAGE_INFO, GTK_BUTTONS_OK, "%s", line.c_str());
  gtk_window_set_title(GTK_WINDOW(notice), "下载");
  g_signal_connect(notice, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
  gtk_widget_show(notice);
}

std::string nameOf(WebKitDownload* download) {
  const char* destination = webkit_download_get_destination(download);
  if (!destination) return {};
  GCharPtr path(g_filename_from_uri(destination, nullptr, nullptr));
  GCharPtr name(g_filename_display_name(path ? path.get() : destination));
  return name.get();
}

void onFailed(WebKitDownload* download, GError* error, gpointer) {
  // The engine ends a failed download with "finished" as well.
  g_object_set_data(G_OBJECT(download), "vexaline-failed", GINT_TO_POINTER(1));
  if (g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER))
    return;
  tell(windowOf(download), "下载失败：" + nameOf(download));
}

void onFinished(WebKitDownload* download, gpointer) {
  if (g_object_get_data(G_OBJECT(download), "vexaline-failed")) return;
  tell(windowOf(download), "下载完成：" + nameOf(download));
}

// A server's name for the file is a suggestion: never a path.
std::string safeName(const char* suggested) {
  std::string name = suggested && *suggested ? suggested : "下载";
  for (char& c : name)
    if (c == '/' || c == '\\') c = '_';
  if (name == "." || name == "..") name = "下载";
  return name;
}

void onChosen(GtkNativeDialog* dialog, gint response, gpointer data) {
  auto* download = static_cast<WebKitDownload*>(data);
  GCharPtr uri;
  if (response == GTK_RESPONSE_ACCEPT)
    uri.reset(gtk_file_chooser_get_uri(GTK_FILE_CHOOSER(dialog)));
  if (uri) {
    // The dialog has asked before replacing a file.
    webkit_download_set_allow_overwrite(download, TRUE);
    webkit_download_set_destination(download, uri.get());
  } else {
    webkit_download_cancel(download);
  }
  g_object_unref(download);
  g_object_unref(dialog);
}

gboolean onDecideDestination(WebKitDownload* download, gchar* suggested, gpointer) {
  GtkFileChooserNative* dialog = gtk_file_chooser_native_new(
      "保存文件", windowOf(download), GTK_FILE_CHOOSER_ACTION_SAVE, "保存", "取消");
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
  const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  if (folder && g_file_test(folder, G_FILE_TEST_IS_DIR))
    gtk_file_chooser_set_current_folder(chooser, folder);
  gtk_file_chooser_set_current_name(chooser, safeName(suggested).c_str());
  // The engine holds the download, writing nothing, until a destination
  // is set or the download is cancelled.
  g_signal_connect(dialog, "response", G_CALLBACK(onChosen), g_object_ref(download));
  gtk_native_dialog_show(GTK_NATIVE_DIALOG(dialog));
  return TRUE;
}

void onDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer) {
  g_signal_connect(download, "decide-destination", G_CALLBACK(onDecideDestination), nullptr);
  g_signal_connect(download, "failed", G_CALLBACK(onFailed), nullptr);
  g_signal_connect(download, "finished", G_CALLBACK(onFinished), nullptr);
}

gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                        WebKitPolicyDecisionType type, gpointer) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
  auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
  // Only the page itself: a frame's unshowable content stays ignored, so
  // that a page cannot raise dialogs from hidden frames.
  if (webkit_response_policy_decision_is_mime_type_supported(response) ||
      !webkit_response_policy_decision_is_main_frame_main_resource(response))
    return FALSE;
  webkit_policy_decision_download(decision);
  return TRUE;
}

}  // namespace

void askBeforeDownloads(WebKitWebContext* context) {
  g_signal_connect(context, "download-started", G_CALLBACK(onDownloadStarted), nullptr);
}

void downloadWhatCannotBeShown(WebKitWebView* view) {
  g_signal_connect(view, "decide-policy", G_CALLBACK(onDecidePolicy), nullptr);
}
