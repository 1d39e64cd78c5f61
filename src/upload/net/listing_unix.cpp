// The "ls -l" layout most servers send, with the variants real servers
// produce: inode and block columns, ACL marks, missing owner or group,
// owner and group names with blanks, device numbers, numeric dates.
#include <string>

#include "upload/net/listing_layouts.h"
#include "upload/net/listing_text.h"

namespace klipora::net::listing {

bool beginsWithPermissionText(std::string_view line) {
  if (line.size() < 10) return false;
  auto upper = [&](std::size_t i) {
    const char c = line[i];
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  };
  if (std::string_view("LDBCPS-").find(upper(0)) == std::string_view::npos) return false;
  for (std::size_t i = 1; i < 10; ++i) {
    const char c = upper(i);
    if (std::string_view("TSRWX-").find(c) != std::string_view::npos) continue;
    if (c == 'A' && (i == 2 || i == 7)) continue;
    if (c == 'H' && i == 4) continue;
    if (c == 'Y' && i == 6) continue;
    return false;
  }
  return true;
}

namespace {

bool isTotalLine(std::string_view line) {
  return line.starts_with("total") && !line.ends_with(":");
}

// Index of the permission field after an optional inode and block count.
std::optional<std::size_t> permissionField(const std::vector<Field>& fields) {
  for (std::size_t i = 0; i < fields.size() && i < 3; ++i) {
    if (beginsWithPermissionText(fields[i].text)) return i;
    if (!isDigits(fields[i].text)) return std::nullopt;
  }
  return std::nullopt;
}

ItemType typeFromPermissions(char c) {
  switch (c) {
    case 'd':
    case 'D':
      return ItemType::Directory;
    case 'l':
    case 'L':
      return ItemType::SymbolicLink;
    case 'b':
    case 'B':
      return ItemType::BlockDevice;
    case 'c':
    case 'C':
      return ItemType::CharacterDevice;
    case 'p':
    case 'P':
      return ItemType::Fifo;
    case 's':
    case 'S':
      return ItemType::Socket;
    default:
      return ItemType::File;
  }
}

// The size column before a date: a number, a device's "major, minor" pair
// (no size), or digits glued to a long group name.
struct SizeColumn {
  std::size_t first = 0;  // first field of the column
  std::optional<std::uint64_t> size;
};

std::optional<SizeColumn> sizeBefore(const std::vector<Field>& fields, std::size_t date,
                                     std::size_t minimum) {
  if (date == 0 || date - 1 < minimum) return std::nullopt;
  const auto text = fields[date - 1].text;
  if (const auto value = parseNumber(text)) return SizeColumn{date - 1, value};
  if (const auto comma = text.find(','); comma != std::string_view::npos) {
    if (isDigits(text.substr(0, comma)) && isDigits(text.substr(comma + 1))) {
      return SizeColumn{date - 1, std::nullopt};
    }
    return std::nullopt;
  }
  if (date >= 2 && date - 2 >= minimum && fields[date - 2].text.size() > 1 &&
      fields[date - 2].text.ends_with(",") &&
      isDigits(fields[date - 2].text.substr(0, fields[date - 2].text.size() - 1)) &&
      isDigits(text)) {
    return SizeColumn{date - 2, std::nullopt};
  }
  std::size_t digits = text.size();
  while (digits > 0 && text[digits - 1] >= '0' && text[digits - 1] <= '9') --digits;
  if (digits > 0 && digits < text.size()) {
    return SizeColumn{date - 1, parseNumber(text.substr(digits))};
  }
  return std::nullopt;
}

class UnixParser final : public ListingParser {
 public:
  std::string name() const override { return "Unix"; }

  bool accepts(const std::vector<std::string>& lines, std::string_view,
               bool detailed) const override {
    if (!detailed) return false;
    for (const auto& line : lines) {
      if (line.empty() || isTotalLine(line) || line.starts_with("/bin/ls:")) continue;
      if (line.back() == ':' && !beginsWithPermissionText(line)) continue;
      const auto fields = splitFields(line);
      if (!permissionField(fields)) return false;
      // Look-alikes that put AM/PM after the time.
      if (fields.size() > 9 && (fields[9].text == "AM" || fields[9].text == "PM")) return false;
      return true;
    }
    return false;
  }

 protected:
  std::optional<ListItem> parseLine(std::string_view line) const override {
    if (isTotalLine(line) || line.starts_with("/bin/ls:")) return std::nullopt;
    const auto fields = splitFields(line);
    const auto perm = permissionField(fields);
    if (!perm) return std::nullopt;

    ListItem item;
    const auto permText = fields[*perm].text;
    item.permissions = std::string(permText.substr(0, 10));
    item.type = typeFromPermissions(permText[0]);
    if (*perm == 2) {
      item.inode = *parseNumber(fields[0].text);
      item.blocks = *parseNumber(fields[1].text);
    } else if (*perm == 1) {
      item.blocks = *parseNumber(fields[0].text);
    }
    // A link count may be glued to the permissions behind an ACL mark.
    auto glued = permText.substr(10);
    if (!glued.empty() && (glued[0] == '+' || glued[0] == '.' || glued[0] == '@')) {
      glued.remove_prefix(1);
    }
    const bool gluedCount = !glued.empty() && isDigits(glued);
    if (gluedCount) item.linkCount = parseNumber(glued).value_or(0);

    const auto now = currentDateTime();
    for (std::size_t i = *perm + 2; i < fields.size(); ++i) {
      auto date = matchMonthNameDate(fields, i, now);
      if (!date) date = matchNumericDate(fields, i, now);
      if (!date) continue;
      const auto size = sizeBefore(fields, i, *perm + 1);
      if (!size) continue;
      item.size = size->size;
      item.modified = date->when;
      fillOwnerGroup(line, fields, *perm + 1, size->first, gluedCount, item);
      const auto& last = fields[date->lastField];
      if (!finishName(restAfterOneBlank(line, last.offset + last.text.size()), item)) break;
      return item;
    }
    // Lines whose date cannot be read give no item; the rest of the
    // listing stays usable.
    return std::nullopt;
  }

 private:
  static void fillOwnerGroup(std::string_view line, const std::vector<Field>& fields,
                             std::size_t first, std::size_t end, bool gluedCount, ListItem& item) {
    if (!gluedCount && first < end && isDigits(fields[first].text)) {
      item.linkCount = parseNumber(fields[first].text).value_or(0);
      ++first;
    }
    if (first >= end) return;
    item.owner = std::string(fields[first].text);
    if (first + 1 < end) {
      const auto from = fields[first + 1].offset;
      const auto to = fields[end - 1].offset + fields[end - 1].text.size();
      item.group = std::string(line.substr(from, to - from));
    }
  }

  static bool finishName(std::string_view rest, ListItem& item) {
    std::string name(rest);
    if (item.type == ItemType::SymbolicLink) {
      if (const auto arrow = name.find(" -> "); arrow != std::string::npos) {
        item.linkTarget = name.substr(arrow + 4);
        name.resize(arrow);
        if (item.linkTarget.size() > 1 && item.linkTarget.back() == '/') {
          item.linkTarget.pop_back();
          item.type = ItemType::SymbolicLinkToDirectory;
        }
      }
    }
    // "ls -F" marks directories with "/" and executables with "*".
    if (name.size() > 1 && (name.back() == '/' || name.back() == '*')) name.pop_back();
    if (name.empty()) return false;
    item.name = std::move(name);
    return true;
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeUnixParser() { return std::make_unique<UnixParser>(); }

}  // namespace klipora::net::listing
