#include "fake_ftp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace klipora::net::testing {
namespace {

constexpr int kWaitMs = 5000;

int listenLocal(std::uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 4) != 0) {
    throw std::runtime_error("fake server cannot listen");
  }
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

bool readable(int fd) {
  pollfd entry{fd, POLLIN, 0};
  return ::poll(&entry, 1, kWaitMs) > 0;
}

int acceptWithin(int listener) {
  if (!readable(listener)) return -1;
  return ::accept(listener, nullptr, nullptr);
}

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

FakeSession::FakeSession(int control, std::vector<std::string>& log, std::mutex& mutex)
    : control_(control), log_(log), mutex_(mutex) {}

FakeSession::~FakeSession() {
  closeFd(data_);
  closeFd(listener_);
  closeFd(control_);
}

void FakeSession::send(const std::string& raw) {
  (void)!::send(control_, raw.data(), raw.size(), MSG_NOSIGNAL);
}

std::string FakeSession::readCommand() {
  for (;;) {
    const auto end = buffer_.find("\r\n");
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 2);
      std::lock_guard lock(mutex_);
      log_.push_back(line);
      return line;
    }
    if (!readable(control_)) return {};
    char chunk[4096];
    const auto got = ::recv(control_, chunk, sizeof chunk, 0);
    if (got <= 0) return {};
    buffer_.append(chunk, static_cast<std::size_t>(got));
  }
}

void FakeSession::expect(const std::string& start, const std::string& answer) {
  const auto line = readCommand();
  if (line.rfind(start, 0) != 0) {
    reply("500 unexpected: " + line);
    return;
  }
  reply(answer);
}

void FakeSession::greetAndLogin(const std::string& features) {
  reply("220 fake ready");
  expect("USER ", "331 password please");
  expect("PASS ", "230 logged in");
  expect("FEAT", features);
  expect("SYST", "215 UNIX Type: L8");
  expect("TYPE I", "200 binary");
}

std::string FakeSession::listenPassive() {
  std::uint16_t port = 0;
  closeFd(listener_);
  listener_ = listenLocal(port);
  return "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," +
         std::to_string(port % 256) + ")";
}

void FakeSession::acceptData() {
  closeFd(data_);
  data_ = acceptWithin(listener_);
}

void FakeSession::connectData(const std::string& argument) {
  unsigned a = 0, b = 0, c = 0, d = 0, high = 0, low = 0;
  if (std::sscanf(argument.c_str(), "%u,%u,%u,%u,%u,%u", &a, &b, &c, &d, &high, &low) != 6) return;
  closeFd(data_);
  data_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(a << 24 | b << 16 | c << 8 | d);
  address.sin_port = htons(static_cast<std::uint16_t>(high * 256 + low));
  if (::connect(data_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) closeFd(data_);
}

std::string FakeSession::readAllData() {
  std::string all;
  char chunk[4096];
  while (data_ >= 0 && readable(data_)) {
    const auto got = ::recv(data_, chunk, sizeof chunk, 0);
    if (got <= 0) break;
    all.append(chunk, static_cast<std::size_t>(got));
  }
  return all;
}

void FakeSession::sendData(const std::string& data) {
  if (data_ >= 0) (void)!::send(data_, data.data(), data.size(), MSG_NOSIGNAL);
}

void FakeSession::closeData() { closeFd(data_); }

FakeFtpServer::FakeFtpServer(std::function<void(FakeSession&)> script) {
  listener_ = listenLocal(port_);
  thread_ = std::thread([this, script = std::move(script)] {
    const int control = acceptWithin(listener_);
    if (control < 0) return;
    FakeSession session(control, log_, mutex_);
    script(session);
  });
}

FakeFtpServer::~FakeFtpServer() {
  join();
  closeFd(listener_);
}

void FakeFtpServer::join() {
  if (thread_.joinable()) thread_.join();
}

std::vector<std::string> FakeFtpServer::commands() {
  std::lock_guard lock(mutex_);
  return log_;
}

}  // namespace klipora::net::testing
