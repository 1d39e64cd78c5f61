#pragma once
// A scripted FTP server on 127.0.0.1 for the faults real servers will not
// produce on demand. Each test scripts the server side as a function that
// runs on the server's thread; every wait is bounded.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace klipora::net::testing {

class FakeSession {
 public:
  FakeSession(int control, std::vector<std::string>& log, std::mutex& mutex);
  ~FakeSession();

  // Sends text as it is / one line with CR LF added.
  void send(const std::string& raw);
  void reply(const std::string& line) { send(line + "\r\n"); }
  // The next command line without CR LF; empty when the client left.
  std::string readCommand();
  // Reads a command and checks its start; answers with `answer`.
  void expect(const std::string& start, const std::string& answer);

  // Usual greeting, USER/PASS login, FEAT, SYST and TYPE I.
  void greetAndLogin(const std::string& features = "211 no features");

  // Passive data: listens and returns the "227 ..." reply to send.
  std::string listenPassive();
  void acceptData();
  // Active data: connects to the address a PORT argument names.
  void connectData(const std::string& portArgument);
  std::string readAllData();
  void sendData(const std::string& data);
  void closeData();

 private:
  int control_;
  int listener_ = -1;
  int data_ = -1;
  std::string buffer_;
  std::vector<std::string>& log_;
  std::mutex& mutex_;
};

class FakeFtpServer {
 public:
  explicit FakeFtpServer(std::function<void(FakeSession&)> script);
  ~FakeFtpServer();
  std::uint16_t port() const { return port_; }
  // Commands the client sent, in order.
  std::vector<std::string> commands();
  // Waits for the script to finish.
  void join();

 private:
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::vector<std::string> log_;
  std::mutex mutex_;
  std::thread thread_;
};

}  // namespace klipora::net::testing
