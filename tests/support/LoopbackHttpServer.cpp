#include "support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace twtest {
namespace {

bool sendAll(int fd, const char* data, size_t n)
{
  while (n > 0) {
    const ssize_t w = ::send(fd, data, n, MSG_NOSIGNAL);
    if (w <= 0) return false;
    data += w;
    n -= size_t(w);
  }
  return true;
}

bool sendAll(int fd, const std::string& s) { return sendAll(fd, s.data(), s.size()); }

void sendResponse(int fd, int status, const std::string& body, const std::string& extra = {})
{
  const char* text = status == 200 ? "OK" : status == 304 ? "Not Modified" : status == 404 ? "Not Found" : "Internal Server Error";
  const std::string length = status == 304 ? "" : "Content-Length: " + std::to_string(body.size()) + "\r\n";
  const std::string head = "HTTP/1.1 " + std::to_string(status) + ' ' + text + "\r\n" + length + extra +
                           "Connection: close\r\n\r\n";
  if (sendAll(fd, head)) sendAll(fd, body);
}

// Reads up to the end of the request head (bounded); empty on failure or timeout.
std::string readHead(int fd, int timeoutMs)
{
  std::string head;
  char buf[4096];
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 64 * 1024) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return {};
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, int(left.count())) <= 0) return {};
    const ssize_t r = ::recv(fd, buf, sizeof buf, 0);
    if (r <= 0) return {};
    head.append(buf, size_t(r));
  }
  return head;
}

// The value of header `name` (given in lower case); the name is matched without regard to case.
std::string headerValue(const std::string& head, const std::string& name)
{
  std::string lower = head;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  const size_t at = lower.find("\r\n" + name + ":");
  if (at == std::string::npos) return {};
  const size_t from = head.find_first_not_of(' ', at + name.size() + 3);
  return head.substr(from, head.find("\r\n", from) - from);
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() = default;
LoopbackHttpServer::~LoopbackHttpServer() { stop(); }

bool LoopbackHttpServer::start()
{
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) return false;
  int one = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 64) != 0) {
    ::close(listenFd_);
    listenFd_ = -1;
    return false;
  }
  socklen_t len = sizeof addr;
  ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  acceptThread_ = std::thread([this] { acceptLoop(); });
  return true;
}

void LoopbackHttpServer::stop()
{
  if (locked([&] { return stopping_.exchange(true); })) return;
  release();
  if (acceptThread_.joinable()) acceptThread_.join();
  for (auto& w : workers_) w.first.join();
  if (listenFd_ >= 0) ::close(listenFd_);
  listenFd_ = -1;
}

std::string LoopbackHttpServer::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LoopbackHttpServer::release()
{
  locked([&] { held_ = false; });
  changed_.notify_all();
}

void LoopbackHttpServer::holdUntilOpen(int n, int limitMs)
{
  locked([&] { held_ = true, holdUntilOpen_ = n, holdDeadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs); });
  changed_.notify_all();
}

size_t LoopbackHttpServer::countPrefix(const std::string& prefix) const
{
  return locked([&] { return size_t(std::ranges::count_if(log_, [&](const Request& r) { return r.path.starts_with(prefix); })); });
}

bool LoopbackHttpServer::waitForRequests(size_t n, int timeoutMs) const
{
  std::unique_lock g(mutex_);
  return changed_.wait_for(g, std::chrono::milliseconds(timeoutMs), [&] { return log_.size() >= n; });
}

// Only between test phases, when no request is being served.
void LoopbackHttpServer::clearLog() { locked([&] { log_.clear(), maxOpen_ = open_.load(); }); }

void LoopbackHttpServer::acceptLoop()
{
  while (!stopping_) {
    pollfd p{listenFd_, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    // Finished connections are joined as new ones come, so their threads do not pile up.
    std::erase_if(workers_, [](auto& w) { return w.second->load() ? (w.first.join(), true) : false; });
    auto done = std::make_shared<std::atomic<bool>>(false);
    workers_.emplace_back(std::thread([this, fd, done] { serveConnection(fd), *done = true; }), done);
  }
}

LoopbackHttpServer::Behaviour LoopbackHttpServer::behaviourFor(const std::string& path) const
{
  Behaviour b = default_;
  size_t best = 0;
  for (const auto& [prefix, rule] : rules_) {
    if (path.rfind(prefix, 0) == 0 && prefix.size() >= best) {
      best = prefix.size();
      b = rule;
    }
  }
  return b;
}

void LoopbackHttpServer::waitWhileHeld()
{
  std::unique_lock g(mutex_);
  const auto deadline = holdUntilOpen_ ? holdDeadline_ : std::chrono::steady_clock::now() + std::chrono::seconds(10);
  changed_.wait_until(g, deadline, [&] { return !held_ || stopping_ || (holdUntilOpen_ && open_ >= holdUntilOpen_); });
  if (holdUntilOpen_) held_ = false, holdUntilOpen_ = 0;  // reached or timed out: all go
  g.unlock();
  changed_.notify_all();
}

void LoopbackHttpServer::serveConnection(int fd)
{
  const std::string head = readHead(fd, 5000);
  // Counted from the request's arrival until its answer starts: a client that waits for the
  // answer before its next request can never be seen twice.
  const int open = ++open_;
  int seen = maxOpen_.load();
  while (open > seen && !maxOpen_.compare_exchange_weak(seen, open)) {
  }
  Request req;
  std::istringstream first(head);
  first >> req.method >> req.path;
  req.userAgent = headerValue(head, "user-agent");
  req.ifNoneMatch = headerValue(head, "if-none-match");
  req.ifModifiedSince = headerValue(head, "if-modified-since");

  Behaviour b;
  std::string body, extra;
  bool found;
  int stall;
  size_t oversized, declared;
  {
    std::lock_guard g(mutex_);
    b = behaviourFor(req.path);
    const auto it = bodies_.find(req.path);
    found = it != bodies_.end() || hasFallback_;
    if (found) body = it != bodies_.end() ? it->second : fallback_;
    stall = stallMs_, oversized = oversizedBytes_, declared = declaredBytes_ ? declaredBytes_ : oversized;
    extra = extraHeaders_;
    log_.push_back(req);
  }
  changed_.notify_all();

  waitWhileHeld();
  --open_;

  switch (b) {
    case Behaviour::Serve: sendResponse(fd, found ? 200 : 404, found ? body : "not found", found ? extra : ""); break;
    case Behaviour::NotModified: sendResponse(fd, 304, "", extra); break;
    case Behaviour::NotFound: sendResponse(fd, 404, "not found"); break;
    case Behaviour::ServerError: sendResponse(fd, 500, "server error"); break;
    case Behaviour::Stall:
    case Behaviour::Silent: {
      std::unique_lock g(mutex_);
      changed_.wait_for(g, std::chrono::milliseconds(b == Behaviour::Stall ? stall : 24 * 3600 * 1000),
                        [&] { return stopping_.load(); });
      break;
    }
    case Behaviour::Reset: {
      const linger l{1, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    } break;
    case Behaviour::Garbage: sendAll(fd, std::string("\x01\x02garbage\xff\xfe not http at all\r\n\r\n")); break;
    case Behaviour::Oversized:
    case Behaviour::Undeclared: {
      const std::string length = b == Behaviour::Oversized ? "Content-Length: " + std::to_string(declared) + "\r\n" : "";
      if (!sendAll(fd, "HTTP/1.1 200 OK\r\n" + length + "Connection: close\r\n\r\n")) break;
      const std::string chunk(64 * 1024, 'x');
      for (size_t sent = 0; sent < oversized && !stopping_; sent += chunk.size())
        if (!sendAll(fd, chunk.data(), std::min(chunk.size(), oversized - sent))) break;
      break;
    }
  }
  if (b != Behaviour::Reset) ::shutdown(fd, SHUT_WR);
  ::close(fd);
}

}  // namespace twtest
