#pragma once
// One entry of an FTP directory listing, whatever layout it came from.
#include <cstdint>
#include <optional>
#include <string>

namespace klipora::net {

// The numbers are what the directory browser shows and compares against.
enum class ItemType : int {
  Directory = 0,
  File = 1,
  SymbolicLink = 2,
  SymbolicLinkToDirectory = 3,
  BlockDevice = 4,
  CharacterDevice = 5,
  Fifo = 6,
  Socket = 7,
};

// Modification time as the server printed it; all zero when unreadable.
struct ListDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const ListDateTime&, const ListDateTime&) = default;
};

struct ListItem {
  std::string name;  // as CWD, RMD and DELE expect it
  ItemType type = ItemType::File;
  std::optional<std::uint64_t> size;  // none for devices and unknown sizes
  ListDateTime modified;
  // Further fields some layouts carry.
  std::string permissions;
  std::uint64_t linkCount = 0;
  std::string owner;
  std::string group;
  std::uint64_t inode = 0;
  std::uint64_t blocks = 0;
  std::string linkTarget;
  std::string rawLine;
};

}  // namespace klipora::net
