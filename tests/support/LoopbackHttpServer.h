#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests: serves bodies from an in-memory map and on
// demand misbehaves (404, 500, stall, silence, reset, garbage, oversized body). One thread and
// one request per connection; every request is recorded. Bounded in time.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace twtest {

class LoopbackHttpServer {
 public:
  enum class Behaviour {
    Serve,        // the file, or 404 when there is none
    NotFound,     // 404
    ServerError,  // 500
    Stall,        // read the request, answer nothing until stallMs passes, then close
    Silent,       // read the request, answer nothing and keep the connection until stop()
    Reset,        // close with a TCP reset before answering
    Garbage,      // bytes that are not HTTP, then close
    Oversized,    // 200 with a body of oversizedBytes
    Undeclared,   // 200 with a body of oversizedBytes and no Content-Length (ended by closing)
    NotModified,  // 304 without a body
  };
  struct Request {
    std::string method, path, userAgent, ifNoneMatch, ifModifiedSince;
  };

  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // Binds an ephemeral port on 127.0.0.1; false when that fails.
  bool start();
  void stop();
  int port() const { return port_; }
  std::string baseUrl() const;  // "http://127.0.0.1:<port>"

  void setBody(const std::string& path, std::string body) { locked([&] { bodies_[path] = std::move(body); }); }
  // Served for any path that has no file or body of its own (instead of 404).
  void setFallbackBody(std::string body) { locked([&] { fallback_ = std::move(body), hasFallback_ = true; }); }

  // Header lines ("Name: value\r\n" each) added to every 200 and 304 answer.
  void setResponseHeaders(std::string lines) { locked([&] { extraHeaders_ = std::move(lines); }); }

  // Behaviour for request paths starting with `prefix` (longest prefix wins); default Serve.
  void setBehaviour(const std::string& prefix, Behaviour b) { locked([&] { rules_[prefix] = b; }); }
  void setDefaultBehaviour(Behaviour b) { locked([&] { default_ = b; }); }

  // How long Stall holds the connection (default 3000, at most 30000).
  void setStallMs(int ms) { locked([&] { stallMs_ = std::clamp(ms, 0, 30000); }); }
  void setOversizedBytes(size_t n) { locked([&] { oversizedBytes_ = std::min<size_t>(n, 256u << 20); }); }  // 16 MiB
  // The Content-Length an Oversized answer declares; 0 (default): the number of bytes it sends.
  void setDeclaredBytes(unsigned long long n) { locked([&] { declaredBytes_ = n; }); }
  // While held, answers wait (each at most 10 s) until release().
  void hold() { locked([&] { held_ = true, holdUntilOpen_ = 0; }); }
  // Holds every answer until `n` requests are open at once, then releases them all; after
  // `limitMs` without that they are released anyway. Concurrency seen without timing luck.
  void holdUntilOpen(int n, int limitMs);
  void release();

  std::vector<Request> requests() const { return locked([&] { return log_; }); }
  size_t requestCount() const { return locked([&] { return log_.size(); }); }
  size_t countPrefix(const std::string& prefix) const;
  // Peak number of requests received and not yet answered.
  int maxConcurrent() const { return maxOpen_.load(); }
  // Waits until at least n requests arrived; false on timeout.
  bool waitForRequests(size_t n, int timeoutMs) const;
  void clearLog();

 private:
  template <class F>
  auto locked(F f) const -> decltype(f())
  {
    std::lock_guard g(mutex_);
    return f();
  }
  void acceptLoop();
  void serveConnection(int fd);
  Behaviour behaviourFor(const std::string& path) const;
  void waitWhileHeld();

  int listenFd_ = -1, port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptThread_;
  std::vector<std::pair<std::thread, std::shared_ptr<std::atomic<bool>>>> workers_;  // and their done flags; accept thread only
  std::atomic<int> open_{0}, maxOpen_{0};

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::map<std::string, std::string> bodies_;
  std::string fallback_;
  bool hasFallback_ = false;
  std::map<std::string, Behaviour> rules_;
  Behaviour default_ = Behaviour::Serve;
  int stallMs_ = 3000;
  size_t oversizedBytes_ = 16u << 20;
  unsigned long long declaredBytes_ = 0;
  bool held_ = false;
  int holdUntilOpen_ = 0;
  std::chrono::steady_clock::time_point holdDeadline_;
  std::vector<Request> log_;
  std::string extraHeaders_;
};

}  // namespace twtest
