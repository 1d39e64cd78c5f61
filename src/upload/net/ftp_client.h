#pragma once
// The client side of FTP as the upload engine and the directory browser
// use it: login (with one-time passwords), directory commands, STOR and
// LIST over passive or active data connections.
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "upload/net/ftp_reply.h"
#include "upload/net/listing_item.h"
#include "upload/net/tcp_connection.h"

namespace klipora::net {

// The data address of a 227 reply: the six numbers in brackets, or after
// the last blank when there are no brackets.
Endpoint parsePassiveReply(const FtpReply& reply);

enum class FtpTransferType { Binary, Ascii };

class TFtpClient {
 public:
  // Connection settings, set before Connect.
  std::string host;
  std::uint16_t port = 21;
  std::string userName;
  std::string password;
  std::string Account;
  bool Passive = false;
  FtpTransferType TransferType = FtpTransferType::Binary;
  bool AutoLogin = true;
  int ReadTimeout = 60000;     // each wait on the control connection, ms
  int ListenTimeout = 10000;   // the server's connect in active mode, ms
  int TransferTimeout = 0;     // each wait on a data connection; 0: no limit
  std::uint16_t DataPort = 0;  // active mode; 0: the system chooses
  std::string ExternalIP;      // announced in PORT instead of the local address

  TFtpClient() = default;
  ~TFtpClient();
  TFtpClient(const TFtpClient&) = delete;
  TFtpClient& operator=(const TFtpClient&) = delete;

  void Connect();
  // Sends QUIT when connected and closes; never fails.
  void Disconnect() noexcept;
  bool IsConnected() const { return control_.isOpen(); }

  void ChangeDirectory(const std::string& directory);
  void ChangeToParent();
  void MakeDirectory(const std::string& name);
  void RemoveDirectory(const std::string& name);
  void DeleteFile(const std::string& name);
  std::string CurrentDirectory();
  // Sends the whole stream from its first byte, whatever its position.
  void StoreFile(std::istream& stream, const std::string& name);
  // Fills ListingLines and ListingItems.
  void ListDirectory();

  // State the callers read.
  FtpReply LastReply;
  FtpReply Greeting;
  std::vector<std::string> Capabilities;
  std::string SystemDescription;
  std::optional<int> TimeZoneOffset;  // as "SITE ZONE" reported it
  std::vector<std::string> ListingLines;
  std::vector<ListItem> ListingItems;

  bool hasCapability(std::string_view name) const;

 private:
  enum class Transfer { Store, List };

  FtpReply readReply();
  void send(const std::string& command);
  FtpReply command(const std::string& text, std::initializer_list<int> accepted);
  FtpReply expect(FtpReply reply, std::initializer_list<int> accepted);
  void login();
  void afterLogin();
  void transfer(Transfer kind, const std::string& commandText, std::istream* upload,
                std::string* download);
  TcpConnection openPassive();
  void moveData(TcpConnection& data, std::istream* upload, std::string* download);

  TcpConnection control_;
};

}  // namespace klipora::net
