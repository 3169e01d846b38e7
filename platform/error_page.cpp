#include "platform/error_page.h"

#include <gio/gio.h>

#include "platform/glib_handles.h"

namespace {

// Every text of the page, in one place.
constexpr char heading[] = "无法打开网页";
constexpr char retry[] = "重试";

const char* reasonOf(PageTrouble trouble) {
  switch (trouble) {
    case PageTrouble::HostNotFound:
      return "找不到这个网站的服务器，请检查网址或网络。";
    case PageTrouble::Refused:
      return "服务器拒绝了连接，它可能暂时没有运行。";
    case PageTrouble::TimedOut:
      return "服务器长时间没有响应，连接已超时。";
    case PageTrouble::Certificate:
      return "这个网站的安全证书不可信，连接已被拒绝。";
    case PageTrouble::Crashed:
      return "显示网页的进程意外结束了。";
    case PageTrouble::Other:
      break;
  }
  return "网页没能载入。";
}

std::string escaped(const std::string& text) {
  GCharPtr markup(g_markup_escape_text(text.c_str(), -1));
  return markup.get();
}

// Only addresses a click can load again become a link; a page's own
// script addresses never do.
bool retryable(const std::string& address) {
  GCharPtr scheme(g_uri_parse_scheme(address.c_str()));
  if (!scheme) return false;
  const std::string name = scheme.get();
  return name == "http" || name == "https" || name == "file";
}

PageTrouble troubleOf(const GError* error) {
  if (g_error_matches(error, G_RESOLVER_ERROR, G_RESOLVER_ERROR_NOT_FOUND) ||
      g_error_matches(error, G_RESOLVER_ERROR, G_RESOLVER_ERROR_TEMPORARY_FAILURE))
    return PageTrouble::HostNotFound;
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED))
    return PageTrouble::Refused;
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) return PageTrouble::TimedOut;
  if (error->domain == G_TLS_ERROR) return PageTrouble::Certificate;
  return PageTrouble::Other;
}

gboolean onLoadFailed(WebKitWebView* view, WebKitLoadEvent, gchar* address, GError* error,
                      gpointer) {
  // A load replaced by a new one, or handed over to a download, is no failure.
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
      g_error_matches(error, WEBKIT_POLICY_ERROR,
                      WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) ||
      g_error_matches(error, WEBKIT_PLUGIN_ERROR, WEBKIT_PLUGIN_ERROR_WILL_HANDLE_LOAD))
    return FALSE;
  showTroublePage(view, troubleOf(error), address);
  return TRUE;
}

gboolean onCertificateRefused(WebKitWebView* view, gchar* address, GTlsCertificate*,
                              GTlsCertificateFlags, gpointer) {
  // The certificate stays refused: the page offers no way past it.
  showTroublePage(view, PageTrouble::Certificate, address);
  return TRUE;
}

}  // namespace

std::string troublePage(PageTrouble trouble, const std::string& address) {
  const std::string shown = escaped(address);
  std::string page = "<!doctype html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>";
  page += heading;
  page +=
      "</title><style>html,body{margin:0;background:#000;color:#0f0;font:16px sans-serif}"
      "body{padding:32px 40px}h1{font-size:22px;margin:0 0 20px}"
      "p{margin:0 0 14px;overflow-wrap:anywhere}a{color:#0f0}"
      "a.retry{display:inline-block;margin-top:10px;padding:6px 24px;border:1px solid #0f0;"
      "text-decoration:none}</style></head><body><h1>";
  page += heading;
  page += "</h1><p>" + shown + "</p><p>" + reasonOf(trouble) + "</p>";
  if (retryable(address))
    page += "<p><a class=\"retry\" href=\"" + shown + "\">" + retry + "</a></p>";
  page += "</body></html>";
  return page;
}

void showTroublePage(WebKitWebView* view, PageTrouble trouble, const char* address) {
  const std::string page = troublePage(trouble, address ? address : "");
  // The page stands in for the address, so that the back list and a reload
  // keep the address the user asked for.
  if (address && *address)
    webkit_web_view_load_alternate_html(view, page.c_str(), address, nullptr);
  else
    webkit_web_view_load_html(view, page.c_str(), nullptr);
}

void showErrorPages(WebKitWebView* view) {
  g_signal_connect(view, "load-failed", G_CALLBACK(onLoadFailed), nullptr);
  g_signal_connect(view, "load-failed-with-tls-errors", G_CALLBACK(onCertificateRefused), nullptr);
}
