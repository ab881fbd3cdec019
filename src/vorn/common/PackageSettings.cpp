#include "vorn/common/PackageSettings.h"

#include <QLocale>
#include <QSysInfo>

namespace vorn {
namespace {

// Classifies how the locale writes -1.1.
int32_t NegativeFormatOf(const QLocale& Locale) {
  const QString s = Locale.toString(-1.5, 'f', 1);
  const QString sign = Locale.negativeSign();
  if (s.startsWith(QLatin1Char('('))) return 0;
  if (s.startsWith(sign + QLatin1Char(' '))) return 2;
  if (s.startsWith(sign)) return 1;
  if (s.endsWith(QLatin1Char(' ') + sign)) return 4;
  if (s.endsWith(sign)) return 3;
  return 1;
}

// Classifies how the locale writes a negative amount of money, in the usual 0..15 numbering.
int32_t NegativeCurFormatOf(const QLocale& Locale) {
  const QString sym = Locale.currencySymbol();
  const QString sign = Locale.negativeSign();
  const QString s = Locale.toCurrencyString(-1.5).simplified();
  if (sym.isEmpty()) return 1;
  const bool symbolFirst = s.indexOf(sym) < s.indexOf(QLatin1Char('1'));
  const bool signFirst = s.startsWith(sign);
  if (s.startsWith(QLatin1Char('('))) return symbolFirst ? 0 : 4;
  if (symbolFirst) return signFirst ? 1 : 2;
  return signFirst ? 5 : 8;
}

}  // namespace

TKxDePackageSettings kxdReadPackageSettings(const QString& LocaleName) {
  const QLocale locale(LocaleName);
  TKxDePackageSettings s;
  s.kxdCurrentOperatingSystem = QSysInfo::prettyProductName();
  s.kxdDefaultLCID = locale.name();
  s.kxdSystemLCID = QLocale::system().name();
  s.kxdNegativeFormat = NegativeFormatOf(locale);
  const QString neg = locale.negativeSign();
  if (!neg.isEmpty()) s.kxdNegativeSign = neg.at(0);
  s.kxdNegativeCurFormat = NegativeCurFormatOf(locale);
  const QString dec = locale.decimalPoint();
  if (!dec.isEmpty()) {
    s.kxdSysDecimalSeparator = dec.at(0);
    s.kxdCurDecimalSeparator = dec.at(0);
  }
  const QString group = locale.groupSeparator();
  if (!group.isEmpty()) s.kxdCurThousandSeparator = group.at(0);
  return s;
}

const TKxDePackageSettings& kxdPackageSettings() {
  static const TKxDePackageSettings settings = kxdReadPackageSettings(QLocale::system().name());
  return settings;
}

namespace {
// Read once at load, as the numeric controls expect the values to be there from the start.
[[maybe_unused]] const TKxDePackageSettings& kLoadedSettings = kxdPackageSettings();
}  // namespace

}  // namespace vorn
