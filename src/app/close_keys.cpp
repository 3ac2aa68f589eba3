// The viewer close keys: key, modifiers, repeat and protection to a close request.
#include "app/close_keys.h"

namespace tessary {
namespace {

bool KeyChecked(CloseKey key, const MainSettings& s) {
  switch (key) {
    case CloseKey::Escape:
      return s.close_esc_key;
    case CloseKey::Enter:
      return s.close_enter_key;
    case CloseKey::Q:
      return s.close_q_key;
    case CloseKey::X:
      return s.close_x_key;
    case CloseKey::Other:
      break;
  }
  return false;
}

}  // namespace

bool KeyClosesViewer(const CloseKeyPress& press, Protection protection,
                     const MainSettings& settings) {
  return protection == Protection::ReadOnly && press.modifiers == CloseKeyModifiers::None &&
         press.repeat == KeyRepeat::First && KeyChecked(press.key, settings);
}

}  // namespace tessary
