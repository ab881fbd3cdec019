#include "vorn/common/FormatFloat.h"

#include <QStringList>

#include <cmath>

namespace vorn {
namespace {

bool IsQuote(QChar C) { return C == QLatin1Char('"') || C == QLatin1Char('\''); }

// The sections of a format, split at ';' outside quotes.
QStringList Sections(const QString& Format) {
  QStringList out{QString()};
  QChar quote;
  for (QChar c : Format) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (IsQuote(c)) {
      quote = c;
    } else if (c == QLatin1Char(';')) {
      out << QString();
      continue;
    }
    out.last() += c;
  }
  return out;
}

// What one section asks for.
struct TNumberPattern {
  QString Prefix;  // literal text before the first placeholder
  QString Suffix;  // literal text after the last placeholder or the exponent
  int MinInt = 0;  // '0's before the decimal point
  int MinDec = 0;  // position of the last '0' after the decimal point
  int MaxDec = 0;  // placeholders after the decimal point
  bool Thousands = false;
  bool Scientific = false;
  bool ExpSignAlways = false;
  int ExpDigits = 0;
  bool HasDigits = false;
};

TNumberPattern Parse(const QString& Section) {
  TNumberPattern p;
  bool inNumber = false, afterNumber = false, afterPoint = false;
  QChar quote;
  for (qsizetype i = 0; i < Section.size(); ++i) {
    const QChar c = Section.at(i);
    QString& literal = inNumber || afterNumber ? p.Suffix : p.Prefix;
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
      else literal += c;
      continue;
    }
    if (IsQuote(c)) {
      quote = c;
      continue;
    }
    const bool placeholder = c == QLatin1Char('0') || c == QLatin1Char('#');
    if (!afterNumber && placeholder) {
      inNumber = p.HasDigits = true;
      if (afterPoint) {
        ++p.MaxDec;
        if (c == QLatin1Char('0')) p.MinDec = p.MaxDec;
      } else if (c == QLatin1Char('0')) {
        ++p.MinInt;
      }
    } else if (!afterNumber && c == QLatin1Char('.') && !afterPoint) {
      afterPoint = inNumber = true;
    } else if (inNumber && !afterNumber && c == QLatin1Char(',')) {
      if (!afterPoint) p.Thousands = true;
    } else if (inNumber && !afterNumber && (c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 1 < Section.size() &&
               (Section.at(i + 1) == QLatin1Char('+') || Section.at(i + 1) == QLatin1Char('-'))) {
      p.Scientific = true;
      p.ExpSignAlways = Section.at(++i) == QLatin1Char('+');
      while (i + 1 < Section.size() && Section.at(i + 1) == QLatin1Char('0')) {
        ++p.ExpDigits;
        ++i;
      }
      afterNumber = true;
    } else {
      if (inNumber) afterNumber = true;
      (inNumber || afterNumber ? p.Suffix : p.Prefix) += c;
    }
  }
  return p;
}

// Digits of Value (not negative) with at most MaxDec decimals, trailing zeros cut down to MinDec.
void Digits(double Value, const TNumberPattern& P, QString& Int, QString& Dec) {
  const QString text = QString::number(Value, 'f', P.MaxDec);
  const qsizetype point = text.indexOf(QLatin1Char('.'));
  Int = point < 0 ? text : text.left(point);
  Dec = point < 0 ? QString() : text.mid(point + 1);
  while (Dec.size() > P.MinDec && Dec.endsWith(QLatin1Char('0'))) Dec.chop(1);
  if (Int == QLatin1String("0") && P.MinInt == 0) Int.clear();
  while (Int.size() < P.MinInt) Int.prepend(QLatin1Char('0'));
}

QString Group(const QString& Int, QChar Separator) {
  QString out;
  for (qsizetype i = 0; i < Int.size(); ++i) {
    if (i > 0 && (Int.size() - i) % 3 == 0) out += Separator;
    out += Int.at(i);
  }
  return out;
}

QString Number(double Value, const TNumberPattern& P, QChar DecimalSeparator, QChar ThousandSeparator) {
  QString intPart, decPart, exponent;
  if (P.Scientific) {
    int exp = Value == 0 ? 0 : static_cast<int>(std::floor(std::log10(Value)));
    const int intDigits = std::max(1, P.MinInt);
    exp -= intDigits - 1;
    Digits(Value / std::pow(10.0, exp), P, intPart, decPart);
    if (intPart.size() > intDigits) {  // rounding carried into one more digit
      ++exp;
      Digits(Value / std::pow(10.0, exp), P, intPart, decPart);
    }
    QString e = QString::number(std::abs(exp)).rightJustified(P.ExpDigits, QLatin1Char('0'));
    if (exp < 0) e.prepend(QLatin1Char('-'));
    else if (P.ExpSignAlways) e.prepend(QLatin1Char('+'));
    exponent = QLatin1Char('E') + e;
  } else {
    Digits(Value, P, intPart, decPart);
  }
  if (P.Thousands) intPart = Group(intPart, ThousandSeparator);
  QString out = intPart;
  if (!decPart.isEmpty()) out += DecimalSeparator + decPart;
  if (out.isEmpty()) out = QStringLiteral("0");
  return out + exponent;
}

}  // namespace

QString FormatFloat(const QString& Format, double Value, QChar DecimalSeparator, QChar ThousandSeparator) {
  if (!std::isfinite(Value)) return QString::number(Value);
  const QStringList sections = Sections(Format);
  if (Format.isEmpty()) {
    QString s = QString::number(Value, 'g', 15);
    return s.replace(QLatin1Char('.'), DecimalSeparator);
  }
  const TNumberPattern first = Parse(sections[0]);
  const bool negative = Value < 0;
  // Zero and the sign are judged on the value as the first section writes it.
  QString i, d;
  Digits(std::abs(Value), first, i, d);
  const bool zero = QString(i + d).count(QLatin1Char('0')) == (i + d).size();
  TNumberPattern p = first;
  bool writeSign = negative && !zero;
  if (zero && sections.size() >= 3 && !sections[2].isEmpty()) {
    p = Parse(sections[2]);
    writeSign = false;
  } else if (negative && sections.size() >= 2 && !sections[1].isEmpty()) {
    p = Parse(sections[1]);
    writeSign = false;
  }
  if (!p.HasDigits) return p.Prefix + p.Suffix;
  return (writeSign ? QStringLiteral("-") : QString()) + p.Prefix +
         Number(std::abs(Value), p, DecimalSeparator, ThousandSeparator) + p.Suffix;
}

}  // namespace vorn
