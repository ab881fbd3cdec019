#pragma once
// Package-wide settings read once when the library loads: the operating system and the number
// formats of the locale, which the numeric edit controls follow.

#include "vorn/common/Color.h"

#include <QChar>
#include <QString>

#include <cstdint>

namespace vorn {

// The settings read once when the library loads.
struct TKxDePackageSettings {
  QString kxdCurrentOperatingSystem;  // the running system, e.g. "Debian GNU/Linux 12 (bookworm)"
  TColor kxdCaptionGradientFrom = clActiveCaption;  // caption gradient of the custom-drawn controls
  TColor kxdCaptionGradientTo = clBtnFace;
  QString kxdDefaultLCID;  // the thread locale ("en_US")
  QString kxdSystemLCID;   // the system default locale
  // Negative numbers: 0 "(1.1)", 1 "-1.1", 2 "- 1.1", 3 "1.1-", 4 "1.1 -".
  int32_t kxdNegativeFormat = 1;
  QChar kxdNegativeSign = QLatin1Char('-');
  // Negative currency amounts, in the usual 0..15 numbering; 1 is "-$1.1".
  int32_t kxdNegativeCurFormat = 1;
  QChar kxdSysDecimalSeparator = QLatin1Char('.');
  QChar kxdCurThousandSeparator = QLatin1Char(',');
  QChar kxdCurDecimalSeparator = QLatin1Char('.');
};

// The settings, read on first use (at library load).
const TKxDePackageSettings& kxdPackageSettings();

// Reads the settings of a locale by name ("de_DE"); used at load with the system locale.
TKxDePackageSettings kxdReadPackageSettings(const QString& LocaleName);

}  // namespace vorn
