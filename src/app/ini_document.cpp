#include "app/ini_document.h"

#include <vector>

#include "app/tools.h"
#include "base/text_encoding.h"

namespace klipora {
namespace {

// White space as the profile functions skip it, including the old
// end-of-file mark Ctrl+Z.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The profile functions see text only up to a NUL byte.
std::string_view upToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

// Names compare through the ANSI lower-casing; in UTF-8 text only ASCII
// letters fold, since single bytes there are not characters.
bool namesEqual(std::string_view a, std::string_view b, bool ansi) {
  a = upToNul(a);
  b = upToNul(b);
  if (a.size() != b.size()) return false;
  const auto& lower = LowerCaseTable();
  for (size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (ansi || x < 0x80) x = lower[x];
    if (ansi || y < 0x80) y = lower[y];
    if (x != y) return false;
  }
  return true;
}

struct Line {
  size_t begin;  // first byte
  size_t end;    // end of the text, before the line break
  size_t next;   // after the line break
};

// A line ends at CR LF, LF or a lone CR.
std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    size_t next = end;
    if (next < text.size()) {
      next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    }
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

enum class Kind { Other, Section, Key };

struct Entry {
  Kind kind = Kind::Other;
  std::string_view name;
  std::string_view value;
  size_t afterEquals = 0;  // offset in the text just behind the '='
};

Entry parseLine(std::string_view text, const Line& line) {
  const std::string_view content = trim(text.substr(line.begin, line.end - line.begin));
  Entry entry;
  if (content.empty() || content.front() == ';') return entry;
  if (content.front() == '[') {
    const size_t close = content.find(']');
    if (close != std::string_view::npos) {
      entry.kind = Kind::Section;
      entry.name = trim(content.substr(1, close - 1));
      return entry;
    }
  }
  const size_t eq = content.find('=');
  if (eq == std::string_view::npos) return entry;
  entry.kind = Kind::Key;
  entry.name = trim(content.substr(0, eq));
  entry.value = trim(content.substr(eq + 1));
  entry.afterEquals = static_cast<size_t>(content.data() - text.data()) + eq + 1;
  return entry;
}

struct Match {
  std::optional<size_t> section;  // index of the header line
  std::optional<size_t> key;      // index of the key line
  size_t lastKey = 0;             // last key line of the section, else its header
};

Match find(std::string_view text, const std::vector<Line>& lines, std::string_view section,
           std::string_view key, bool ansi) {
  Match match;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Entry entry = parseLine(text, lines[i]);
    if (entry.kind == Kind::Section) {
      if (match.section) break;  // later sections of the same name are not read
      if (namesEqual(entry.name, section, ansi)) match.section = match.lastKey = i;
    } else if (entry.kind == Kind::Key && match.section) {
      match.lastKey = i;
      if (namesEqual(entry.name, key, ansi)) {
        match.key = i;
        break;
      }
    }
  }
  return match;
}

std::string_view stripQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// One setting is one line, and the profile functions stop at a NUL.
std::string oneLine(std::string_view text) {
  std::string line(upToNul(text));
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

// Quotes keep what trimming or quote removal would lose on the next read.
std::string quotedIfNeeded(std::string v) {
  if (!v.empty() && (trim(v).size() != v.size() || stripQuotes(v).size() != v.size())) {
    v = '"' + v + '"';
  }
  return v;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// UTF-16 code units to UTF-8; a lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[2 * i]);
    const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  const size_t count = bytes.size() / 2;
  std::string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    char32_t cp = unit(i);
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < count && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(++i) - 0xDC00);
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    appendUtf8(out, cp);
  }
  return out;
}

// UTF-8 to UTF-16 code units; a malformed byte becomes U+FFFD.
std::string utf8ToUtf16(std::string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  const auto put = [&](char32_t u) {
    const char hi = static_cast<char>(u >> 8);
    const char lo = static_cast<char>(u & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  };
  size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    char32_t cp = extra < 0 ? 0xFFFD : lead & (0x7F >> extra);
    for (int i = 0; i < extra; ++i) {
      if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
        cp = 0xFFFD;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

// At most max bytes of UTF-8 without cutting a character.
std::string_view utf8Prefix(std::string_view text, size_t max) {
  if (text.size() <= max) return text;
  size_t end = max;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

IniDocument::IniDocument(std::string bytes) {
  const std::string_view b = bytes;
  if (b.starts_with(kUtf8Bom)) {
    encoding_ = Encoding::Utf8;
    text_ = b.substr(kUtf8Bom.size());
  } else if (b.size() % 2 == 0 && b.starts_with(kUtf16LeBom)) {
    encoding_ = Encoding::Utf16Le;
    text_ = utf16ToUtf8(b.substr(2), false);
  } else if (b.size() % 2 == 0 && b.starts_with(kUtf16BeBom)) {
    encoding_ = Encoding::Utf16Be;
    text_ = utf16ToUtf8(b.substr(2), true);
  } else {
    text_ = std::move(bytes);
  }
}

std::string IniDocument::bytes() const {
  switch (encoding_) {
    case Encoding::Ansi:
      return text_;
    case Encoding::Utf8:
      return std::string(kUtf8Bom) + text_;
    case Encoding::Utf16Le:
      return std::string(kUtf16LeBom) + utf8ToUtf16(text_, false);
    case Encoding::Utf16Be:
      return std::string(kUtf16BeBom) + utf8ToUtf16(text_, true);
  }
  return text_;
}

std::string IniDocument::toText(std::string_view fileText) const {
  return encoding_ == Encoding::Ansi ? cp1252ToUtf8(fileText) : std::string(fileText);
}

std::string IniDocument::fromText(std::string_view utf8) const {
  return encoding_ == Encoding::Ansi ? utf8ToCp1252(utf8) : std::string(utf8);
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
  const bool ansi = encoding_ == Encoding::Ansi;
  const std::vector<Line> lines = splitLines(text_);
  const Match match = find(text_, lines, fromText(trim(section)), fromText(trim(key)), ansi);
  if (!match.key) return std::nullopt;
  const std::string_view v = stripQuotes(upToNul(parseLine(text_, lines[*match.key]).value));
  return toText(ansi ? v.substr(0, kMaxValueBytes) : utf8Prefix(v, kMaxValueBytes));
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string sectionName = fromText(oneLine(trim(section)));
  const std::string keyName = fromText(oneLine(trim(key)));
  const std::string text = quotedIfNeeded(fromText(oneLine(value)));
  const std::vector<Line> lines = splitLines(text_);
  const Match match = find(text_, lines, sectionName, keyName, encoding_ == Encoding::Ansi);
  if (match.key) {
    const Line& line = lines[*match.key];
    const size_t from = parseLine(text_, line).afterEquals;
    text_.replace(from, line.end - from, text);
    return;
  }
  const std::string keyLine = keyName + "=" + text + "\r\n";
  if (match.section) {
    const Line& last = lines[match.lastKey];
    const bool hasBreak = last.next > last.end;
    text_.insert(last.next, hasBreak ? keyLine : "\r\n" + keyLine);
    return;
  }
  if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r') text_ += "\r\n";
  text_ += "[" + sectionName + "]\r\n" + keyLine;
}

}  // namespace klipora
