#include "upload/net/ftp_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "base/message_pump.h"
#include "fake_ftp_server.h"
#include "upload/net/socket_error.h"

namespace klipora::net {
namespace {

using testing::FakeFtpServer;
using testing::FakeSession;

void prepare(TFtpClient& client, const FakeFtpServer& server) {
  client.host = "127.0.0.1";
  client.port = server.port();
  client.userName = "user";
  client.password = "secret";
  client.ReadTimeout = 5000;
}

std::string errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(FtpClient, PreliminaryGreetingAndLoginWithoutPassword) {
  FakeFtpServer server([](FakeSession& s) {
    s.reply("120 ready in a moment");
    s.reply("220-Welcome");
    s.reply("220 fake");
    s.expect("USER ", "230 no password needed");
    s.expect("FEAT", "500 unknown");
    s.expect("SYST", "500 unknown");
    s.expect("TYPE I", "200 ok");
    s.expect("QUIT", "221 bye");
  });
  TFtpClient client;
  prepare(client, server);
  client.Connect();
  EXPECT_EQ(client.Greeting.code, 220);
  EXPECT_EQ(client.Greeting.text, (std::vector<std::string>{"Welcome", "fake"}));
  EXPECT_TRUE(client.Capabilities.empty());
  EXPECT_EQ(client.SystemDescription, "Unknown");
  client.Disconnect();
  EXPECT_FALSE(client.IsConnected());
  server.join();
  EXPECT_EQ(server.commands(),
            (std::vector<std::string>{"USER user", "FEAT", "SYST", "TYPE I", "QUIT"}));
}

TEST(FtpClient, LoginFailures) {
  struct Case {
    std::string afterPass;
    std::string error;
  };
  const Case cases[] = {
      {"332 Need account for login.", "Need account for login.\r\n"},
      {"530 Login incorrect.", "Login incorrect.\r\n"},
  };
  for (const auto& c : cases) {
    FakeFtpServer server([&](FakeSession& s) {
      s.reply("220 fake");
      s.expect("USER ", "331 password please");
      s.expect("PASS ", c.afterPass);
      s.expect("QUIT", "221 bye");
    });
    TFtpClient client;
    prepare(client, server);
    EXPECT_EQ(errorOf([&] { client.Connect(); }), c.error);
    EXPECT_FALSE(client.IsConnected());
    server.join();
    EXPECT_EQ(server.commands().back(), "QUIT");
  }
}

TEST(FtpClient, GreetingOtherThan220ClosesWithoutQuit) {
  FakeFtpServer server([](FakeSession& s) {
    s.reply("421 Too many users");
    s.readCommand();
  });
  TFtpClient client;
  prepare(client, server);
  EXPECT_EQ(errorOf([&] { client.Connect(); }), "Too many users\r\n");
  server.join();
  EXPECT_TRUE(server.commands().empty());
}

TEST(FtpClient, AnswersOneTimePasswordChallengeAndSendsAccount) {
  FakeFtpServer server([](FakeSession& s) {
    s.reply("220 fake");
    s.expect("USER ", "331 Response to otp-md5 99 TeSt required for skey.");
    s.expect("PASS ", "332 Need account");
    s.expect("ACCT ", "230 in");
    s.expect("FEAT", "211-Extensions:\r\n PRET\r\n SITE ZONE;CHMOD\r\n211 END");
    s.expect("SYST", "215 Windows_NT");
    s.expect("SITE ZONE", "210 UTC-300");
    s.expect("TYPE I", "200 ok");
  });
  TFtpClient client;
  prepare(client, server);
  client.password = "This is a test.";
  client.Account = "billing";
  client.Connect();
  server.join();
  const auto commands = server.commands();
  ASSERT_GE(commands.size(), 3u);
  EXPECT_EQ(commands[1], "PASS BAIL TUFT BITS GANG CHEF THY");
  EXPECT_EQ(commands[2], "ACCT billing");
  EXPECT_EQ(client.Capabilities, (std::vector<std::string>{"PRET", "SITE ZONE;CHMOD"}));
  EXPECT_TRUE(client.hasCapability("pret"));
  EXPECT_EQ(client.SystemDescription, "Windows_NT");
  EXPECT_EQ(client.TimeZoneOffset, -300);
}

TEST(FtpClient, PassiveListParsesAndRestoresBinary) {
  FakeFtpServer server([](FakeSession& s) {
    s.greetAndLogin("211-Features:\r\n PRET\r\n211 End");
    s.expect("TYPE A", "200 ascii");
    s.expect("PRET LIST", "200 ok");
    // Brackets missing: the numbers after the last blank count.
    auto pasv = s.listenPassive();
    pasv = "227 Entering Passive Mode " + pasv.substr(pasv.find('(') + 1);
    pasv.pop_back();
    s.expect("PASV", pasv);
    s.acceptData();
    s.expect("LIST", "150 here it comes");
    s.sendData(
        "total 1\r\ndrwxr-xr-x 2 a b 4096 Jan  1  2020 pub\r\n-rw-r--r-- 1 a b 3 Jan  1 "
        "2020 my file\n");
    s.closeData();
    s.reply("226 done");
    s.expect("TYPE I", "200 binary");
    s.expect("PWD", "257 \"/home/x\" is current");
  });
  TFtpClient client;
  prepare(client, server);
  client.Passive = true;
  client.Connect();
  client.ListDirectory();
  ASSERT_EQ(client.ListingItems.size(), 2u);
  EXPECT_EQ(client.ListingItems[0].name, "pub");
  EXPECT_EQ(client.ListingItems[0].type, ItemType::Directory);
  EXPECT_EQ(client.ListingItems[1].name, "my file");
  EXPECT_EQ(client.ListingLines.size(), 3u);
  EXPECT_EQ(client.CurrentDirectory(), "/home/x");
}

TEST(FtpClient, List450IsAnEmptyListing) {
  FakeFtpServer server([](FakeSession& s) {
    s.greetAndLogin();
    s.expect("TYPE A", "200 ascii");
    s.expect("PASV", s.listenPassive());
    s.acceptData();
    s.expect("LIST", "450 No files found");
    s.expect("TYPE I", "200 binary");
    s.expect("CWD sub", "250 ok");
  });
  TFtpClient client;
  prepare(client, server);
  client.Passive = true;
  client.Connect();
  client.ListDirectory();
  EXPECT_TRUE(client.ListingItems.empty());
  client.ChangeDirectory("sub");
  EXPECT_EQ(client.LastReply.code, 250);
}

TEST(FtpClient, ActiveStoreSendsWholeStream) {
  std::string received;
  FakeFtpServer server([&](FakeSession& s) {
    s.greetAndLogin();
    const auto port = s.readCommand();
    s.reply("200 PORT ok");
    s.expect("STOR shot.gif", "150 send it");
    s.connectData(port.substr(5));
    received = s.readAllData();
    s.closeData();
    s.reply("226 stored");
  });
  TFtpClient client;
  prepare(client, server);
  client.Connect();
  std::string bytes(100000, 'x');
  bytes[0] = 'G';
  std::istringstream stream(bytes);
  stream.seekg(0, std::ios::end);  // the client starts from the first byte anyway
  client.StoreFile(stream, "shot.gif");
  server.join();
  EXPECT_EQ(received, bytes);
  EXPECT_EQ(server.commands()[5].rfind("PORT 127,0,0,1,", 0), 0u);
}

TEST(FtpClient, DroppedStoreLeavesControlConnectionUsable) {
  FakeFtpServer server([](FakeSession& s) {
    s.greetAndLogin();
    s.expect("PASV", s.listenPassive());
    s.expect("STOR big", "150 go");
    s.acceptData();
    s.closeData();
    s.reply("426 Connection closed; transfer aborted.");
    s.expect("DELE big", "250 deleted");
  });
  TFtpClient client;
  prepare(client, server);
  client.Passive = true;
  client.Connect();
  std::istringstream stream(std::string(64 * 1024 * 1024, 'x'));
  EXPECT_THROW(client.StoreFile(stream, "big"), Error);
  EXPECT_TRUE(client.IsConnected());
  client.DeleteFile("big");
  EXPECT_EQ(client.LastReply.code, 250);
}

TEST(FtpClient, DirectoryCommandsAcceptOnlyTheirCodes) {
  FakeFtpServer server([](FakeSession& s) {
    s.greetAndLogin();
    s.expect("MKD new", "257 \"/new\" created");
    s.expect("RMD old", "250 removed");
    s.expect("CDUP", "200 ok");
    s.expect("DELE gone", "550-No such file");
    s.reply("550 really.");
    s.expect("MKD again", "250 odd but not 257");
    s.expect("PWD", "257 no quotes here");
  });
  TFtpClient client;
  prepare(client, server);
  client.Connect();
  client.MakeDirectory("new");
  client.RemoveDirectory("old");
  client.ChangeToParent();
  EXPECT_EQ(errorOf([&] { client.DeleteFile("gone"); }), "No such file\r\nreally.\r\n");
  EXPECT_EQ(client.LastReply.code, 550);
  EXPECT_EQ(errorOf([&] { client.MakeDirectory("again"); }), "odd but not 257\r\n");
  EXPECT_EQ(client.CurrentDirectory(), "");
}

TEST(FtpClient, EmptyStoreNameFailsBeforeSending) {
  TFtpClient client;
  std::istringstream stream("x");
  EXPECT_EQ(errorOf([&] { client.StoreFile(stream, ""); }),
            "The destination filename can not be empty");
}

TEST(FtpClient, PassiveReplyAddressAndPort) {
  const auto parse = [](const std::string& line) {
    return parsePassiveReply(FtpReply{227, {line}});
  };
  for (const auto& line : {std::string("Entering Passive Mode (192,168,1,2,19,137)"),
                           std::string("Entering Passive Mode 192,168,1,2,19,137")}) {
    const auto endpoint = parse(line);
    EXPECT_EQ(formatAddress(endpoint.address), "192.168.1.2") << line;
    EXPECT_EQ(endpoint.port, 5001) << line;
  }
  EXPECT_THROW(parse("Entering Passive Mode (1,2,3)"), FtpReplyError);
  EXPECT_THROW(parse("Entering Passive Mode (1,2,3,999,1,1)"), FtpReplyError);
}

TEST(FtpClient, DataConnectionGoesToTheAnnouncedAddress) {
  // The fake listens on 127.0.0.1 only and announces 127.0.0.2: following
  // the announcement is refused, the control peer's address would not be.
  FakeFtpServer server([](FakeSession& s) {
    s.greetAndLogin();
    s.expect("TYPE A", "200 ascii");
    auto pasv = s.listenPassive();
    pasv.replace(pasv.find("127,0,0,1"), 9, "127,0,0,2");
    s.expect("PASV", pasv);
    s.expect("TYPE I", "200 binary");
  });
  TFtpClient client;
  prepare(client, server);
  client.Passive = true;
  client.Connect();
  EXPECT_EQ(errorOf([&] { client.ListDirectory(); }),
            "Socket Error # 10061\r\nConnection refused.");
  EXPECT_TRUE(client.IsConnected());
}

TEST(FtpClient, StalledGarbageAndOverlongReplies) {
  struct Case {
    std::string send;
    std::string error;
  };
  const Case cases[] = {
      {"", "Read timed out."},
      {"220 fine\r\n" + std::string(20000, 'z'), "Max line length exceeded."},
  };
  for (const auto& c : cases) {
    FakeFtpServer server([&](FakeSession& s) {
      s.send(c.send);
      s.readCommand();
    });
    TFtpClient client;
    prepare(client, server);
    client.ReadTimeout = 300;
    client.AutoLogin = c.send.empty();
    const auto error = errorOf([&] {
      client.Connect();
      client.ChangeDirectory("x");
    });
    EXPECT_EQ(error, c.error);
    client.Disconnect();
  }
}

TEST(FtpClient, ClosedPeerAndClosedClient) {
  FakeFtpServer server([](FakeSession& s) { s.reply("220 fake"); });
  TFtpClient client;
  prepare(client, server);
  client.AutoLogin = false;
  client.Connect();
  EXPECT_EQ(errorOf([&] { client.Connect(); }), "Already connected.");
  server.join();
  EXPECT_EQ(errorOf([&] { client.ChangeToParent(); }), "Connection Closed Gracefully.");
  EXPECT_FALSE(client.IsConnected());
  EXPECT_EQ(errorOf([&] { client.ChangeToParent(); }), "Not Connected");
  client.host.clear();
  EXPECT_EQ(errorOf([&] { client.Connect(); }), "");
}

TEST(SocketLayer, RefusedConnectAndErrorText) {
  // A port that was free a moment ago and has no listener.
  Socket probe = Socket::create();
  probe.listen({0x7f000001, 0});
  const auto port = probe.localEndpoint().port;
  probe.close();
  TFtpClient client;
  client.host = "localhost";
  client.port = port;
  try {
    client.Connect();
    FAIL() << "connected";
  } catch (const SocketError& error) {
    EXPECT_EQ(error.code(), 10061);
    EXPECT_STREQ(error.what(), "Socket Error # 10061\r\nConnection refused.");
  }
  EXPECT_EQ(socketErrorText(11001), "Socket Error # 11001\r\nHost not found.");
}

class CountingPump : public MessagePump {
 public:
  void processPendingMessages() override { ++calls; }
  int calls = 0;
};

TEST(SocketLayer, WaitsKeepTheMessagePumpRunning) {
  CountingPump pump;
  setActiveMessagePump(&pump);
  FakeFtpServer server([](FakeSession& s) {
    s.reply("220 fake");
    s.readCommand();
    s.readCommand();  // no answer: the client's read times out
  });
  TFtpClient client;
  prepare(client, server);
  client.AutoLogin = false;
  client.ReadTimeout = 1000;
  client.Connect();  // through the connect thread
  const int afterConnect = pump.calls;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(errorOf([&] { client.ChangeToParent(); }), "Read timed out.");
  const auto waited = std::chrono::steady_clock::now() - start;
  setActiveMessagePump(nullptr);
  // Four idle slices of 250 ms, each followed by the pump.
  EXPECT_EQ(pump.calls - afterConnect, 4);
  EXPECT_GE(waited, std::chrono::milliseconds(950));
  client.Disconnect();
}

}  // namespace
}  // namespace klipora::net
