// Colour names, font sizes and the settings file's location.
#include "platform/settings_values.h"

#include <array>
#include <cstdio>


namespace tessary {
namespace {

struct NamedColor {
  std::string_view name;
  uint32_t bgr;
};

constexpr std::array<NamedColor, 20> kNamedColors = {{
    {"clBlack", 0x000000}, {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080}, {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},  {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},   {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},  {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF}, {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
}};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string ColorToText(TColor c) {
  for (const auto& n : kNamedColors)
    if (n.bgr == c) return std::string(n.name);
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(c));
  return buf;
}

std::optional<TColor> TextToColor(std::string_view text) {
  for (const auto& n : kNamedColors)
    if (EqualIgnoringCase(n.name, text)) return TColor{n.bgr};
  auto v = ParseProfileInteger(text);
  if (!v) return std::nullopt;
  return TColor{static_cast<uint32_t>(*v)};
}

TColor ReadColor(const PrivateProfile& ini, std::string_view section, std::string_view key,
                 TColor fallback) {
  auto text = ini.ReadString(section, key);
  if (!text) return fallback;
  return TextToColor(*text).value_or(fallback);
}

int ReadFontSize(const PrivateProfile& ini, std::string_view section, std::string_view key,
                 int fallback) {
  int size = ini.ReadInteger(section, key, fallback);
  return size > 0 ? size : fallback;
}

}  // namespace tessary
