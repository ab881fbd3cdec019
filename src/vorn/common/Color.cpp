#include "vorn/common/Color.h"

#include <QGuiApplication>
#include <QPalette>

namespace vorn {
namespace {

QColor SystemColor(int Index) {
  const QPalette pal = QGuiApplication::instance() ? QGuiApplication::palette() : QPalette();
  switch (Index) {
    case 0: return pal.color(QPalette::Button);                               // scroll bar
    case 1: return pal.color(QPalette::Window);                               // desktop
    case 2: return pal.color(QPalette::Active, QPalette::Highlight);          // active caption
    case 3: return pal.color(QPalette::Inactive, QPalette::Highlight);        // inactive caption
    case 4: return pal.color(QPalette::Window);                               // menu
    case 5: return pal.color(QPalette::Base);                                 // window
    case 6: return pal.color(QPalette::Shadow);                               // window frame
    case 7: return pal.color(QPalette::WindowText);                           // menu text
    case 8: return pal.color(QPalette::Text);                                 // window text
    case 9: return pal.color(QPalette::Active, QPalette::HighlightedText);    // caption text
    case 10: return pal.color(QPalette::Active, QPalette::Mid);               // active border
    case 11: return pal.color(QPalette::Inactive, QPalette::Mid);             // inactive border
    case 12: return pal.color(QPalette::Dark);                                // application workspace
    case 13: return pal.color(QPalette::Highlight);
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);                              // button face
    case 16: return pal.color(QPalette::Dark);                                // button shadow
    case 17: return pal.color(QPalette::Disabled, QPalette::Text);            // grey text
    case 18: return pal.color(QPalette::ButtonText);
    case 19: return pal.color(QPalette::Inactive, QPalette::HighlightedText); // inactive caption text
    case 20: return pal.color(QPalette::Light);                               // button highlight
    case 21: return pal.color(QPalette::Shadow);                              // 3-D dark shadow
    case 22: return pal.color(QPalette::Midlight);                            // 3-D light
    case 23: return pal.color(QPalette::ToolTipText);
    case 24: return pal.color(QPalette::ToolTipBase);
    default: return pal.color(QPalette::Window);
  }
}

}  // namespace

TColor ColorToRGB(TColor Color) {
  if (Color == clNone || Color == clDefault) return clBlack;
  if (IsSystemColor(Color)) return FromQColor(SystemColor(Color & 0xFF));
  return Color & 0xFFFFFF;
}

QColor ToQColor(TColor Color) {
  if (Color == clNone) return QColor(0, 0, 0, 0);
  const TColor rgb = ColorToRGB(Color);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& Color) {
  return RGB(static_cast<uint8_t>(Color.red()), static_cast<uint8_t>(Color.green()),
             static_cast<uint8_t>(Color.blue()));
}

}  // namespace vorn
