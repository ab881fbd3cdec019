#include "vorn/common/ShortCut.h"

#include <array>
#include <utility>

namespace vorn {
namespace {

// Names the system gives keys that have no name of the engine's own (US keyboard).
QString SystemKeyName(uint16_t Key) {
  if (Key >= VK::Numpad0 && Key <= VK::Numpad0 + 9) return QStringLiteral("Num %1").arg(Key - VK::Numpad0);
  switch (Key) {
    case VK::Shift: return QStringLiteral("Shift");
    case VK::Control: return QStringLiteral("Ctrl");
    case VK::Menu: return QStringLiteral("Alt");
    case VK::Pause: return QStringLiteral("Pause");
    case VK::Capital: return QStringLiteral("Caps Lock");
    case VK::Snapshot: return QStringLiteral("Prnt Scrn");
    case VK::Multiply: return QStringLiteral("Num *");
    case VK::Add: return QStringLiteral("Num +");
    case VK::Subtract: return QStringLiteral("Num -");
    case VK::Decimal: return QStringLiteral("Num Del");
    case VK::Divide: return QStringLiteral("Num /");
    case VK::NumLock: return QStringLiteral("Num Lock");
    case VK::Scroll: return QStringLiteral("Scroll Lock");
    case 0xBA: return QStringLiteral(";");
    case 0xBB: return QStringLiteral("=");
    case 0xBC: return QStringLiteral(",");
    case 0xBD: return QStringLiteral("-");
    case 0xBE: return QStringLiteral(".");
    case 0xBF: return QStringLiteral("/");
    case 0xC0: return QStringLiteral("`");
    case 0xDB: return QStringLiteral("[");
    case 0xDC: return QStringLiteral("\\");
    case 0xDD: return QStringLiteral("]");
    case 0xDE: return QStringLiteral("'");
    default: return {};
  }
}

QString KeyName(uint16_t Key) {
  switch (Key) {
    case VK::Back: return QStringLiteral("BkSp");
    case VK::Tab: return QStringLiteral("Tab");
    case VK::Escape: return QStringLiteral("Esc");
    case VK::Return: return QStringLiteral("Enter");
    case VK::Space: return QStringLiteral("Space");
    case VK::Prior: return QStringLiteral("PgUp");
    case VK::Next: return QStringLiteral("PgDn");
    case VK::End: return QStringLiteral("End");
    case VK::Home: return QStringLiteral("Home");
    case VK::Left: return QStringLiteral("Left");
    case VK::Up: return QStringLiteral("Up");
    case VK::Right: return QStringLiteral("Right");
    case VK::Down: return QStringLiteral("Down");
    case VK::Insert: return QStringLiteral("Ins");
    case VK::Delete: return QStringLiteral("Del");
    default: break;
  }
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return QString(QChar(Key));
  if (Key >= VK::F1 && Key <= VK::F24) return QStringLiteral("F%1").arg(Key - VK::F1 + 1);
  return SystemKeyName(Key);
}

// Strips Prefix from the front of Text (ignoring case); true when it was there.
bool TakePrefix(QString& Text, QLatin1String Prefix) {
  if (!Text.startsWith(Prefix, Qt::CaseInsensitive)) return false;
  Text.remove(0, Prefix.size());
  return true;
}

}  // namespace

QString kxdShortCutToText(TShortCut ShortCut) {
  const QString name = KeyName(ShortCut & 0xFF);
  if (name.isEmpty()) return {};
  QString text;
  if (ShortCut & scCtrl) text += QLatin1String("Ctrl+");
  if (ShortCut & scShift) text += QLatin1String("Shift+");
  if (ShortCut & scAlt) text += QLatin1String("Alt+");
  return text + name;
}

TShortCut kxdTextToShortCut(const QString& Text) {
  QString rest = Text;
  TShortCut shift = 0;
  for (;;) {
    if (TakePrefix(rest, QLatin1String("Ctrl+")) || TakePrefix(rest, QLatin1String("^"))) {
      shift |= scCtrl;
    } else if (TakePrefix(rest, QLatin1String("Shift+"))) {
      shift |= scShift;
    } else if (TakePrefix(rest, QLatin1String("Alt+"))) {
      shift |= scAlt;
    } else {
      break;
    }
  }
  if (rest.isEmpty()) return 0;
  for (uint32_t key = 8; key <= 597; ++key) {
    const QString name = kxdShortCutToText(static_cast<TShortCut>(key & ~(scShift | scCtrl | scAlt)));
    if (!name.isEmpty() && name.compare(rest, Qt::CaseInsensitive) == 0)
      return static_cast<TShortCut>(key | shift);
  }
  return 0;
}

TShortCut ShortCutFromQt(QKeyCombination Key) {
  const int k = Key.key();
  uint16_t vk = 0;
  if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z)) {
    vk = static_cast<uint16_t>(k);
  } else if (k >= Qt::Key_F1 && k <= Qt::Key_F24) {
    vk = static_cast<uint16_t>(VK::F1 + (k - Qt::Key_F1));
  } else {
    static constexpr std::array<std::pair<int, uint16_t>, 15> kMap = {{
        {Qt::Key_Backspace, VK::Back}, {Qt::Key_Tab, VK::Tab}, {Qt::Key_Escape, VK::Escape},
        {Qt::Key_Return, VK::Return}, {Qt::Key_Enter, VK::Return}, {Qt::Key_Space, VK::Space},
        {Qt::Key_PageUp, VK::Prior}, {Qt::Key_PageDown, VK::Next}, {Qt::Key_End, VK::End},
        {Qt::Key_Home, VK::Home}, {Qt::Key_Left, VK::Left}, {Qt::Key_Up, VK::Up},
        {Qt::Key_Right, VK::Right}, {Qt::Key_Down, VK::Down}, {Qt::Key_Insert, VK::Insert},
    }};
    if (k == Qt::Key_Delete) vk = VK::Delete;
    for (const auto& [qt, code] : kMap)
      if (qt == k) vk = code;
  }
  if (!vk) return 0;
  const Qt::KeyboardModifiers m = Key.keyboardModifiers();
  return ShortCut(vk, m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier));
}

QKeyCombination ShortCutToQt(TShortCut ShortCut) {
  const uint16_t vk = ShortCut & 0xFF;
  Qt::Key key = Qt::Key_unknown;
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
    key = static_cast<Qt::Key>(vk);
  } else if (vk >= VK::F1 && vk <= VK::F24) {
    key = static_cast<Qt::Key>(Qt::Key_F1 + (vk - VK::F1));
  } else {
    switch (vk) {
      case VK::Back: key = Qt::Key_Backspace; break;
      case VK::Tab: key = Qt::Key_Tab; break;
      case VK::Escape: key = Qt::Key_Escape; break;
      case VK::Return: key = Qt::Key_Return; break;
      case VK::Space: key = Qt::Key_Space; break;
      case VK::Prior: key = Qt::Key_PageUp; break;
      case VK::Next: key = Qt::Key_PageDown; break;
      case VK::End: key = Qt::Key_End; break;
      case VK::Home: key = Qt::Key_Home; break;
      case VK::Left: key = Qt::Key_Left; break;
      case VK::Up: key = Qt::Key_Up; break;
      case VK::Right: key = Qt::Key_Right; break;
      case VK::Down: key = Qt::Key_Down; break;
      case VK::Insert: key = Qt::Key_Insert; break;
      case VK::Delete: key = Qt::Key_Delete; break;
      default: break;
    }
  }
  Qt::KeyboardModifiers mods;
  if (ShortCut & scShift) mods |= Qt::ShiftModifier;
  if (ShortCut & scCtrl) mods |= Qt::ControlModifier;
  if (ShortCut & scAlt) mods |= Qt::AltModifier;
  return QKeyCombination(mods, key);
}

}  // namespace vorn
