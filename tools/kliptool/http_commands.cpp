#include "http_commands.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "base/error.h"
#include "upload/net/http_client.h"
#include "upload/net/http_probe.h"
#include "upload/net/upload_script.h"

namespace klipora::kliptool {
namespace {

int usage(const char* text) {
  std::fprintf(stderr, "usage: kliptool %s\n", text);
  return 2;
}

std::string readFile(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) throw Error("cannot read " + path);
  return {std::istreambuf_iterator<char>(stream), {}};
}

}  // namespace

int runHttpUpload(Args args) {
  std::vector<std::string> rest;
  std::string name;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--name" && i + 1 < args.size()) {
      name = std::string(args[++i]);
    } else {
      rest.emplace_back(args[i]);
    }
  }
  if (rest.size() != 2) return usage(kHttpUploadUsage);
  const std::string& file = rest[1];
  if (name.empty()) name = file.substr(file.find_last_of("/\\") + 1);
  net::THttpClient client;
  client.setUserAgent(net::kKliporaUserAgent);
  net::uploadWithScript(client, rest[0], name, readFile(file));
  return 0;
}

int runHttpDelete(Args args) {
  if (args.size() != 2) return usage(kHttpDeleteUsage);
  net::THttpClient client;
  client.setUserAgent(net::kKliporaUserAgent);
  net::deleteWithScript(client, std::string(args[0]), std::string(args[1]));
  return 0;
}

int runProbe(Args args) {
  if (args.size() != 1) return usage(kProbeUsage);
  net::THttpClient client;
  client.setUserAgent(net::kKliporaUserAgent);
  std::puts(net::urlExists(client, std::string(args[0])) ? "1" : "0");
  return 0;
}

}  // namespace klipora::kliptool
