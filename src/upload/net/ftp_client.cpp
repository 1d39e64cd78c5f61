#include "upload/net/ftp_client.h"

#include <algorithm>
#include <cctype>

#include "upload/net/listing_parser.h"
#include "upload/net/otp.h"

namespace klipora::net {
namespace {

// A listing larger than this is refused rather than held in memory.
constexpr std::size_t kMaxListingBytes = 64 * 1024 * 1024;

bool isAccepted(int code, std::initializer_list<int> accepted) {
  return std::find(accepted.begin(), accepted.end(), code) != accepted.end();
}

std::string trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

std::string upper(std::string_view text) {
  std::string out(text);
  for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string firstWord(std::string_view line) {
  const auto text = trimmed(line);
  return text.substr(0, text.find(' '));
}

std::string firstLine(const FtpReply& reply) {
  return reply.text.empty() ? std::string() : reply.text.front();
}

}  // namespace

Endpoint parsePassiveReply(const FtpReply& reply) {
  const auto line = trimmed(firstLine(reply));
  std::string numbers;
  const auto open = line.find('(');
  const auto close = line.find(')', open == std::string::npos ? 0 : open);
  if (open != std::string::npos && close != std::string::npos) {
    numbers = line.substr(open + 1, close - open - 1);
  } else {
    const auto blank = line.rfind(' ');
    numbers = blank == std::string::npos ? line : line.substr(blank + 1);
  }
  std::vector<unsigned long> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= numbers.size() && fields.size() <= 6; ++i) {
    if (i < numbers.size() && numbers[i] != ',') continue;
    const auto field = trimmed(std::string_view(numbers).substr(start, i - start));
    if (field.empty() || field.size() > 9 ||
        !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      throw FtpReplyError(reply);
    }
    fields.push_back(std::stoul(field));
    start = i + 1;
  }
  if (fields.size() != 6 || fields[0] > 255 || fields[1] > 255 || fields[2] > 255 ||
      fields[3] > 255) {
    throw FtpReplyError(reply);
  }
  Endpoint endpoint;
  endpoint.address =
      static_cast<std::uint32_t>(fields[0] << 24 | fields[1] << 16 | fields[2] << 8 | fields[3]);
  endpoint.port = static_cast<std::uint16_t>((fields[4] % 256) * 256 + fields[5] % 256);
  return endpoint;
}

namespace {

std::string portArgument(std::uint32_t address, std::uint16_t port) {
  return std::to_string(address >> 24) + "," + std::to_string((address >> 16) & 255) + "," +
         std::to_string((address >> 8) & 255) + "," + std::to_string(address & 255) + "," +
         std::to_string(port >> 8) + "," + std::to_string(port & 255);
}

}  // namespace

TFtpClient::~TFtpClient() { Disconnect(); }

bool TFtpClient::hasCapability(std::string_view name) const {
  const auto wanted = upper(name);
  return std::any_of(Capabilities.begin(), Capabilities.end(),
                     [&](const std::string& line) { return upper(firstWord(line)) == wanted; });
}

FtpReply TFtpClient::readReply() {
  control_.setReadTimeout(ReadTimeout);
  FtpReplyReader reader;
  for (;;) {
    if (auto reply = reader.addLine(control_.readLine())) {
      LastReply = *reply;
      return *reply;
    }
  }
}

void TFtpClient::send(const std::string& text) { control_.write(text + "\r\n"); }

FtpReply TFtpClient::expect(FtpReply reply, std::initializer_list<int> accepted) {
  if (!isAccepted(reply.code, accepted)) throw FtpReplyError(reply);
  return reply;
}

FtpReply TFtpClient::command(const std::string& text, std::initializer_list<int> accepted) {
  send(text);
  const auto reply = readReply();
  if (accepted.size() == 0) return reply;
  return expect(reply, accepted);
}

void TFtpClient::Connect() {
  if (IsConnected()) throw Error("Already connected.");
  if (host.empty()) throw Error("");
  Capabilities.clear();
  SystemDescription.clear();
  TimeZoneOffset.reset();
  control_.open(host, port);
  try {
    auto greeting = readReply();
    if (greeting.code >= 100 && greeting.code < 200) greeting = readReply();
    if (greeting.code != 220) throw FtpReplyError(greeting);
    Greeting = greeting;
  } catch (...) {
    control_.close();
    throw;
  }
  try {
    if (AutoLogin) {
      login();
      afterLogin();
    }
  } catch (...) {
    Disconnect();
    throw;
  }
}

void TFtpClient::login() {
  auto reply = command("USER " + userName, {230, 232, 331});
  if (reply.code != 331) return;
  std::string argument = password;
  if (const auto challenge = findOtpChallenge(replyText(reply))) {
    argument = otpResponse(*challenge, password);
  }
  reply = command("PASS " + argument, {230, 332});
  if (reply.code == 332 ||
      (!Account.empty() && upper(replyText(reply)).find("ACCOUNT") != std::string::npos)) {
    if (Account.empty()) throw FtpReplyError(reply);
    command("ACCT " + Account, {230, 232, 331});
  }
}

void TFtpClient::afterLogin() {
  const auto features = command("FEAT", {});
  Capabilities.clear();
  if (features.text.size() > 2) {
    Capabilities.assign(features.text.begin() + 1, features.text.end() - 1);
  }
  const auto system = command("SYST", {});
  SystemDescription = system.code == 500 ? "Unknown" : firstLine(system);

  bool zone = false;
  const auto greeting = firstLine(Greeting);
  for (const char* server : {"Serv-U ", "BPFTP Server ", "TitanFTP server ", "Titan FTP Server "}) {
    if (greeting.starts_with(server)) zone = true;
  }
  for (const auto& line : Capabilities) {
    const auto text = trimmed(line);
    if (upper(firstWord(text)) != "SITE") continue;
    std::string words = upper(text.substr(std::min(text.size(), std::size_t{5})));
    std::size_t start = 0;
    for (std::size_t i = 0; i <= words.size(); ++i) {
      if (i < words.size() && words[i] != ';') continue;
      if (trimmed(std::string_view(words).substr(start, i - start)) == "ZONE") zone = true;
      start = i + 1;
    }
  }
  if (zone) {
    const auto reply = command("SITE ZONE", {});
    if (reply.code == 210) {
      // "UTC-300": minutes east of UTC.
      const auto text = firstLine(reply);
      const auto at = text.find_first_of("+-0123456789");
      if (at != std::string::npos) {
        try {
          TimeZoneOffset = std::stoi(text.substr(at));
        } catch (const std::exception&) {
        }
      }
    }
  }
  command(TransferType == FtpTransferType::Binary ? "TYPE I" : "TYPE A", {200});
}

void TFtpClient::Disconnect() noexcept {
  if (!control_.isOpen()) return;
  try {
    send("QUIT");
    if (control_.lineArrivesWithin(10)) readReply();
  } catch (...) {
  }
  control_.close();
}

void TFtpClient::ChangeDirectory(const std::string& directory) {
  command("CWD " + directory, {200, 250});
}

void TFtpClient::ChangeToParent() { command("CDUP", {200, 250}); }

void TFtpClient::MakeDirectory(const std::string& name) { command("MKD " + name, {257}); }

void TFtpClient::RemoveDirectory(const std::string& name) { command("RMD " + name, {250}); }

void TFtpClient::DeleteFile(const std::string& name) { command("DELE " + name, {250}); }

std::string TFtpClient::CurrentDirectory() {
  const auto line = firstLine(command("PWD", {257}));
  const auto open = line.find('"');
  if (open == std::string::npos) return {};
  const auto close = line.find('"', open + 1);
  if (close == std::string::npos) return {};
  return line.substr(open + 1, close - open - 1);
}

void TFtpClient::StoreFile(std::istream& stream, const std::string& name) {
  if (name.empty()) throw Error("The destination filename can not be empty");
  transfer(Transfer::Store, "STOR " + name, &stream, nullptr);
}

void TFtpClient::ListDirectory() {
  ListingLines.clear();
  ListingItems.clear();
  std::string text;
  command("TYPE A", {200});
  try {
    transfer(Transfer::List, "LIST", nullptr, &text);
  } catch (...) {
    try {
      command("TYPE I", {200});
    } catch (...) {
    }
    throw;
  }
  command("TYPE I", {200});
  ListingLines = splitListingLines(text);
  ListingItems = parseListing(ListingLines, SystemDescription, true);
}

TcpConnection TFtpClient::openPassive() {
  const auto reply = command("PASV", {227});
  const auto endpoint = parsePassiveReply(reply);
  TcpConnection data(connectTo(formatAddress(endpoint.address), endpoint.port));
  return data;
}

void TFtpClient::transfer(Transfer kind, const std::string& commandText, std::istream* upload,
                          std::string* download) {
  const bool store = kind == Transfer::Store;
  TcpConnection data;
  FtpReply preliminary;
  if (Passive) {
    if (hasCapability("PRET")) command("PRET " + commandText, {});
    if (store) {
      const auto reply = command("PASV", {227});
      const auto endpoint = parsePassiveReply(reply);
      send(commandText);
      try {
        data = TcpConnection(connectTo(formatAddress(endpoint.address), endpoint.port));
      } catch (...) {
        // Collect the server's answer to STOR so the next command reads
        // its own reply.
        try {
          readReply();
        } catch (...) {
        }
        throw;
      }
      preliminary = expect(readReply(), {110, 125, 150});
    } else {
      data = openPassive();
      preliminary = command(commandText, {125, 150, 154, 450});
      if (preliminary.code == 450) return;  // nothing to list
    }
  } else {
    Socket listener = Socket::create();
    const auto local = control_.localEndpoint();
    listener.listen({local.address, DataPort});
    const auto announced = listener.localEndpoint();
    const auto address = ExternalIP.empty() ? announced.address : resolveHost(ExternalIP);
    command("PORT " + portArgument(address, announced.port), {200});
    if (store) {
      preliminary = command(commandText, {125, 150});
    } else {
      preliminary = command(commandText, {125, 150, 154});
    }
    try {
      if (!waitForData(listener, ListenTimeout)) throw Error("Accept timed out.");
      data = TcpConnection(listener.accept());
    } catch (...) {
      try {
        if (preliminary.code < 300) readReply();
      } catch (...) {
      }
      throw;
    }
  }

  try {
    moveData(data, upload, download);
  } catch (...) {
    data.close();
    // The server answers the broken transfer on the control connection;
    // read that answer so the connection stays usable.
    try {
      if (preliminary.code < 300) readReply();
    } catch (...) {
    }
    throw;
  }
  data.close();
  if (preliminary.code < 300) expect(readReply(), {226, 225, 250});
}

void TFtpClient::moveData(TcpConnection& data, std::istream* upload, std::string* download) {
  char buffer[32768];
  if (upload) {
    upload->clear();
    upload->seekg(0);
    while (*upload) {
      upload->read(buffer, sizeof buffer);
      const auto got = static_cast<std::size_t>(upload->gcount());
      if (got == 0) break;
      data.write({buffer, got});
    }
    return;
  }
  data.setReadTimeout(TransferTimeout);
  for (;;) {
    const auto got = data.readSome(buffer, sizeof buffer);
    if (got == 0) return;  // the server closed: the normal end
    if (download->size() + got > kMaxListingBytes) throw Error("Listing too large.");
    download->append(buffer, got);
  }
}

}  // namespace klipora::net
