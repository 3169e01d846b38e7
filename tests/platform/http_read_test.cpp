// The HTTP read against a loopback server that answers with raw bytes.
#include "platform/http_read.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace {

// One connection, answered by `respond` with the request it read.
class LoopbackServer {
 public:
  explicit LoopbackServer(std::function<void(int, const std::string&)> respond) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 1);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, respond] {
      const int client = accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, n);
      }
      respond(client, request);
      close(client);
    });
  }
  ~LoopbackServer() {
    shutdown(listener_, SHUT_RDWR);
    close(listener_);
    thread_.join();
  }
  std::string url(const std::string& path = "/ver.txt") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::string request;

 private:
  int listener_;
  int port_ = 0;
  std::thread thread_;
};

void sendAll(int socket, const std::string& bytes) {
  send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

std::string text(const std::optional<std::vector<unsigned char>>& body) {
  return body ? std::string(body->begin(), body->end()) : "(absent)";
}

TEST(HttpRead, RequestIsOneUncachedHttp10Get) {
  LoopbackServer server(
      [](int s, const std::string&) { sendAll(s, "HTTP/1.0 200 OK\r\n\r\n1.4"); });
  const std::string url = server.url();
  EXPECT_EQ(text(readHttp(url.c_str())), "1.4");
  const std::string host = url.substr(7, url.find('/', 7) - 7);
  EXPECT_EQ(server.request,
            "GET /ver.txt HTTP/1.0\r\n"
            "Host: " +
                host +
                "\r\n"
                "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
                "Accept: */*\r\n"
                "Pragma: no-cache\r\n"
                "\r\n");
}

TEST(HttpRead, BodyWhateverTheResponse) {
  using namespace std::string_literals;
  struct Case {
    std::string response;
    std::string body;
  } cases[] = {
      {"HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<html>gone</html>",
       "<html>gone</html>"},
      {"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n1.4", "1.4"},  // cut off part-way
      {"HTTP/1.0 200 OK\r\n\r\n1.4\0junk"s, "1.4\0junk"s},
      {"1.4", "1.4"},  // no status line: the raw bytes are the body
      {"HTTP/1.0 200 OK\r\n\r\n", "(absent)"},
      {"HTTP/1.0 302 Found\r\nLocation: /elsewhere\r\n\r\nmoved", "moved"},
      {"", "(absent)"},
  };
  for (const Case& c : cases) {
    LoopbackServer server([&c](int s, const std::string&) { sendAll(s, c.response); });
    EXPECT_EQ(text(readHttp(server.url().c_str())), c.body) << c.response;
  }
}

TEST(HttpRead, NothingFromBadAddressOrRefusedConnection) {
  for (const char* address : {"", "not an address", "http://127.0.0.1:1/ver.txt",
                              "http://[::1/ver.txt", "file:///etc/hostname"})
    EXPECT_EQ(text(readHttp(address)), "(absent)") << address;
}

TEST(HttpRead, EndlessBodyStopsAtTheBound) {
  LoopbackServer server([](int s, const std::string&) {
    sendAll(s, "HTTP/1.0 200 OK\r\n\r\n");
    const std::string chunk(64 * 1024, 'x');
    for (int i = 0; i < 64; ++i)  // 4 MiB offered
      if (send(s, chunk.data(), chunk.size(), MSG_NOSIGNAL) < 0) break;
  });
  const auto body = readHttp(server.url().c_str());
  ASSERT_TRUE(body);
  EXPECT_EQ(body->size(), httpBodyLimit);
}

TEST(HttpRead, DribblingServerEndsWithWhatArrived) {
  LoopbackServer server([](int s, const std::string&) {
    sendAll(s, "HTTP/1.0 200 OK\r\n\r\n1");
    // Far slower than a byte a second, for longer than the stall bound.
    for (int i = 0; i < httpStallTimeoutSeconds + 10; ++i) {
      std::this_thread::sleep_for(std::chrono::seconds(3));
      if (send(s, ".", 1, MSG_NOSIGNAL) < 0) break;
    }
  });
  const auto body = readHttp(server.url().c_str());
  ASSERT_TRUE(body);
  EXPECT_EQ(text(body).substr(0, 2), "1.");
  EXPECT_LT(body->size(), 20u);
}

}  // namespace
