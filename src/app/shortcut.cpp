#include "app/shortcut.h"

namespace klipora {
namespace {

constexpr unsigned kModAlt = 1;
constexpr unsigned kModControl = 2;
constexpr unsigned kModShift = 4;

struct KeyName {
  unsigned key;
  const char* name;
};

// Names of the keys that have no character of their own, as German
// keyboards label them.
constexpr KeyName kNamedKeys[] = {
    {0x08, "Rück"},  {0x09, "Tab"},   {0x0D, "Eingabe"},  {0x13, "Pause"},   {0x14, "Feststell"},
    {0x1B, "Esc"},   {0x20, "Leer"},  {0x21, "Bild auf"}, {0x22, "Bild ab"}, {0x23, "Ende"},
    {0x24, "Pos1"},  {0x25, "Links"}, {0x26, "Auf"},      {0x27, "Rechts"},  {0x28, "Ab"},
    {0x2C, "Druck"}, {0x2D, "Einfg"}, {0x2E, "Entf"},     {0x6A, "Num *"},   {0x6B, "Num +"},
    {0x6D, "Num -"}, {0x6E, "Num ,"}, {0x6F, "Num /"},    {0x90, "Num"},     {0x91, "Rollen"},
};

std::string keyName(unsigned key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    return std::string(1, static_cast<char>(key));
  }
  if (key >= 0x70 && key <= 0x87) return std::string("F").append(std::to_string(key - 0x6F));
  if (key >= 0x60 && key <= 0x69) return std::string("Num ").append(std::to_string(key - 0x60));
  for (const KeyName& named : kNamedKeys) {
    if (named.key == key) return named.name;
  }
  return std::string("Taste ").append(std::to_string(key));
}

}  // namespace

unsigned ShortCutToVirtualKey(TShortCut shortcut) {
  return shortcut & ~static_cast<unsigned>(scShift | scCtrl | scAlt);
}

unsigned ShortCutToModifiers(TShortCut shortcut) {
  unsigned modifiers = 0;
  if (shortcut & scShift) modifiers |= kModShift;
  if (shortcut & scCtrl) modifiers |= kModControl;
  if (shortcut & scAlt) modifiers |= kModAlt;
  return modifiers;
}

std::string ShortCutToText(TShortCut shortcut) {
  if (shortcut == 0) return {};
  std::string text;
  if (shortcut & scShift) text += "Umsch+";
  if (shortcut & scCtrl) text += "Strg+";
  if (shortcut & scAlt) text += "Alt+";
  return text.append(keyName(ShortCutToVirtualKey(shortcut)));
}

}  // namespace klipora
