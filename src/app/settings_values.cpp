// Colour names, placement records and the settings file's location.
#include "app/settings_values.h"

#include <array>
#include <cstdio>

#include "platform/app_home.h"

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

std::string_view StateText(WindowState s) {
  switch (s) {
    case WindowState::Maximized:
      return "MAX";
    case WindowState::Minimized:
      return "MIN";
    case WindowState::Normal:
      break;
  }
  return "NORMAL";
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

WindowPlacement ReadPlacement(const PrivateProfile& ini, std::string_view section,
                              const WindowPlacement& fallback) {
  WindowPlacement p;
  p.bounds.left = ini.ReadInteger(section, "Left", fallback.bounds.left);
  p.bounds.top = ini.ReadInteger(section, "Top", fallback.bounds.top);
  p.bounds.width = ini.ReadInteger(section, "Width", fallback.bounds.width);
  p.bounds.height = ini.ReadInteger(section, "Height", fallback.bounds.height);
  std::string state = ini.ReadString(section, "State", StateText(fallback.state));
  p.state = state == "MAX"   ? WindowState::Maximized
            : state == "MIN" ? WindowState::Minimized
                             : WindowState::Normal;
  return p;
}

Status WritePlacement(PrivateProfile& ini, std::string_view section, WindowState state,
                      const Rect& normal_bounds) {
  std::vector<PrivateProfile::Entry> entries;
  std::string s(section);
  entries.push_back({s, "State", std::string(StateText(state))});
  if (state == WindowState::Normal) {
    entries.push_back({s, "Left", std::to_string(normal_bounds.left)});
    entries.push_back({s, "Top", std::to_string(normal_bounds.top)});
    entries.push_back({s, "Width", std::to_string(normal_bounds.width)});
    entries.push_back({s, "Height", std::to_string(normal_bounds.height)});
  }
  return ini.WriteStrings(entries);
}

Rect PlaceOnScreen(const Rect& saved, const Rect& screen, const Rect& fallback) {
  const int64_t slack = 9;
  const bool off = saved.top + slack < screen.top || saved.top > screen.Bottom() ||
                   saved.Bottom() < screen.top || saved.Bottom() > screen.Bottom() ||
                   saved.left + slack < screen.left || saved.left > screen.Right() ||
                   saved.Right() < screen.left || saved.Right() > screen.Right();
  return off ? fallback : saved;
}

}  // namespace tessary
