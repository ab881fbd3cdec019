// vorn strokes: the straight strokes of one character of a font, and an SVG of a whole text laid
// out from the strokes with the font's advances and kerning, so the result can be looked at.
#include "Commands.h"

#include <vorn/common/CommonLib.h>
#include <vorn/common/XmlUtils.h>
#include <vorn/text/KxDeTTF.h>
#include <vorn/text/mekFontRef.h>

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vorncli {
namespace {

constexpr const char* kName = "strokes";

QString Num(double Value) { return QString::fromLatin1(vorn::XmlSingleText(static_cast<float>(Value))); }

// A character given as itself, or as U+XXXX / 0xXX.
bool ParseChar(const QString& Text, int32_t& Code) {
  const QList<uint> ucs = Text.toUcs4();
  if (ucs.size() == 1) {
    Code = static_cast<int32_t>(ucs.first());
    return true;
  }
  if (Text.size() > 2 && (Text.startsWith(QLatin1String("U+"), Qt::CaseInsensitive) ||
                          Text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))) {
    bool ok = false;
    const uint v = Text.mid(2).toUInt(&ok, 16);
    if (ok && v <= 0x10FFFF) {
      Code = static_cast<int32_t>(v);
      return true;
    }
  }
  return false;
}

QString CodeName(uint Code) { return QStringLiteral("U+%1").arg(Code, 4, 16, QLatin1Char('0')).toUpper(); }

void PrintStrokes(const vorn::TKxDeStrokes& S) {
  const vorn::TRectF b = S.GetBounds();
  QTextStream out(stdout);
  out << "contours=" << S.GetNumGlyphs() << " strokes=" << S.Count() << " cellincx=" << S.CellIncX
      << " blackbox=" << S.BlackBoxX << ',' << S.BlackBoxY << " bounds=" << Num(b.Left) << ',' << Num(b.Top) << ','
      << Num(b.Right) << ',' << Num(b.Bottom) << '\n';
  S.EnumStrokes([&out](int32_t, const vorn::TKxDeFontStroke& St) {
    out << St.GlyphNumber << ' ' << Num(St.P1.X) << ' ' << Num(St.P1.Y) << ' ' << Num(St.P2.X) << ' '
        << Num(St.P2.Y) << '\n';
    return true;
  });
}

// Lays Text out line by line (y grows downwards in the picture, upwards in the font) and writes
// the strokes as one path. Returns an error message, empty on success.
QString WriteSvg(vorn::TKxDeTTF& Ttf, const vorn::TFont& Font, const QString& Text, const QString& FileName) {
  const double em = vorn::TmekFontRef::GetEMSize(Font);
  const double ascent = vorn::TmekFontRef::GetAscentPart(Font);
  const double lineHeight = vorn::TmekFontRef::GetHeight(Font) + vorn::TmekFontRef::GetExternalLeading(Font);
  const double descent = vorn::TmekFontRef::GetDescentPart(Font);

  QString path;
  double minX = 0, maxX = 0, minY = -ascent, maxY = descent;
  double penX = 0, baseline = 0;
  uint previous = 0;
  for (uint code : Text.toUcs4()) {
    if (code == '\n') {
      penX = 0;
      baseline += lineHeight;
      maxY = std::max(maxY, baseline + descent);
      previous = 0;
      continue;
    }
    if (previous != 0 && previous <= 0xFFFF && code <= 0xFFFF)
      penX += vorn::TmekFontRef::GetKerningValue(Font, static_cast<uint16_t>(previous), static_cast<uint16_t>(code));
    vorn::TOwned<vorn::TKxDeStrokes> s = Ttf.GetCharacterGlyphs(static_cast<int32_t>(code));
    if (!s) return QStringLiteral("cannot outline %1 in font \"%2\"").arg(CodeName(code), Font.Name());
    vorn::TPointF last{std::numeric_limits<float>::quiet_NaN(), 0};
    s->EnumStrokes([&](int32_t, const vorn::TKxDeFontStroke& St) {
      const double x1 = penX + St.P1.X, y1 = baseline - St.P1.Y, x2 = penX + St.P2.X, y2 = baseline - St.P2.Y;
      if (!(St.P1 == last)) path += QStringLiteral("M%1 %2").arg(Num(x1), Num(y1));
      path += QStringLiteral("L%1 %2").arg(Num(x2), Num(y2));
      last = St.P2;
      minX = std::min({minX, x1, x2});
      maxX = std::max({maxX, x1, x2});
      minY = std::min({minY, y1, y2});
      maxY = std::max({maxY, y1, y2});
      return true;
    });
    penX += s->GetCellIncX2();
    maxX = std::max(maxX, penX);
    previous = code;
  }

  const double margin = em / 20;
  minX -= margin;
  minY -= margin;
  const double w = maxX - minX + margin, h = maxY - minY + margin;
  // One EM is drawn 96 pixels high.
  const double px = 96 / em;
  QFile file(FileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return QStringLiteral("cannot write %1: %2").arg(FileName, file.errorString());
  QTextStream out(&file);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Num(std::ceil(w * px)) << "\" height=\""
      << Num(std::ceil(h * px)) << "\" viewBox=\"" << Num(minX) << ' ' << Num(minY) << ' ' << Num(w) << ' ' << Num(h)
      << "\">\n"
      << "<rect x=\"" << Num(minX) << "\" y=\"" << Num(minY) << "\" width=\"" << Num(w) << "\" height=\"" << Num(h)
      << "\" fill=\"white\"/>\n"
      << "<path fill=\"none\" stroke=\"black\" stroke-width=\"" << Num(em / 200) << "\" stroke-linejoin=\"round\" d=\""
      << path << "\"/>\n"
      << "</svg>\n";
  out.flush();
  if (file.error() != QFileDevice::NoError)
    return QStringLiteral("cannot write %1: %2").arg(FileName, file.errorString());
  return {};
}

}  // namespace

int RunStrokes(const QStringList& Args) {
  QString family, charText, text, svgFile;
  bool haveChar = false, haveText = false;
  int32_t precision = 5;
  for (qsizetype i = 0; i < Args.size(); ++i) {
    const QString& a = Args[i];
    const bool known = a == QLatin1String("--font") || a == QLatin1String("--char") || a == QLatin1String("--text") ||
                       a == QLatin1String("--precision") || a == QLatin1String("--svg");
    if (!known) return UsageError(kName, QStringLiteral("unknown argument '%1'").arg(a));
    if (i + 1 >= Args.size()) return UsageError(kName, QStringLiteral("%1 needs a value").arg(a));
    const QString v = Args[++i];
    if (a == QLatin1String("--font")) {
      family = v;
    } else if (a == QLatin1String("--char")) {
      charText = v;
      haveChar = true;
    } else if (a == QLatin1String("--text")) {
      text = v;
      haveText = true;
    } else if (a == QLatin1String("--svg")) {
      svgFile = v;
    } else {
      bool ok = false;
      precision = v.toInt(&ok);
      if (!ok) return UsageError(kName, QStringLiteral("--precision needs a whole number, not '%1'").arg(v));
    }
  }
  if (family.trimmed().isEmpty()) return UsageError(kName, QStringLiteral("--font FAMILY is required"));
  if (!haveChar && !haveText) return UsageError(kName, QStringLiteral("give --char C or --text TEXT"));
  if (haveText && svgFile.isEmpty()) return UsageError(kName, QStringLiteral("--text is drawn with --svg FILE"));
  int32_t code = 0;
  if (haveChar && !ParseChar(charText, code))
    return UsageError(kName, QStringLiteral("--char takes one character or U+XXXX, not '%1'").arg(charText));

  // Font substitutions are worth a word on stderr; stdout keeps its format.
  vorn::SetDebugMessageSink([](const QString& Message) {
    std::fprintf(stderr, "vorn strokes: %s\n", Message.toLocal8Bit().constData());
  });
  vorn::TFont font;
  font.SetName(family);
  vorn::TOwned<vorn::TKxDeTTF> ttf(vorn::Create<vorn::TKxDeTTF>());
  ttf->SetFont(&font);
  ttf->SetSplinePrecision(precision);

  if (haveChar) {
    vorn::TOwned<vorn::TKxDeStrokes> s = ttf->GetCharacterGlyphs(code);
    if (!s)
      return InputError(
          QStringLiteral("cannot outline %1 in font \"%2\"").arg(CodeName(static_cast<uint>(code)), family));
    PrintStrokes(*s);
  }
  if (!svgFile.isEmpty()) {
    QString drawn = text;
    if (!haveText) drawn = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
    const QString error = WriteSvg(*ttf, font, drawn, svgFile);
    if (!error.isEmpty()) return InputError(error);
  }
  return 0;
}

}  // namespace vorncli
