#include "platform/http_read.h"

#include <curl/curl.h>

#include <memory>

namespace {

struct CurlCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct SlistFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

size_t keepBytes(char* data, size_t size, size_t count, void* user) {
  auto* body = static_cast<std::vector<unsigned char>*>(user);
  const size_t offered = size * count;
  const size_t room = httpBodyLimit - body->size();
  const size_t taken = offered < room ? offered : room;
  body->insert(body->end(), data, data + taken);
  return taken;  // less than offered ends the transfer as broken off
}

}  // namespace

std::optional<std::vector<unsigned char>> readHttp(const char* address) {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!ready) return std::nullopt;
  std::unique_ptr<CURL, CurlCleanup> curl(curl_easy_init());
  if (!curl) return std::nullopt;

  std::unique_ptr<curl_slist, SlistFree> headers(curl_slist_append(nullptr, "Accept: */*"));
  curl_slist_append(headers.get(), "Pragma: no-cache");
  std::vector<unsigned char> body;
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, address);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
  curl_easy_setopt(c, CURLOPT_HTTP09_ALLOWED, 1L);
  curl_easy_setopt(c, CURLOPT_USERAGENT, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, httpConnectTimeoutSeconds);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, httpStallTimeoutSeconds);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, httpTotalTimeoutSeconds);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, keepBytes);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
  curl_easy_perform(c);  // a failure keeps whatever arrived before it

  if (body.empty()) return std::nullopt;
  return body;
}
