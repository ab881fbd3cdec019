#include "vorn/common/CommonLib.h"

#include <QHash>
#include <QProcessEnvironment>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>

namespace vorn {
namespace {

TDebugMessageSink& Sink() {
  static TDebugMessageSink sink;
  return sink;
}

struct TFcPatternDeleter {
  void operator()(FcPattern* P) const { FcPatternDestroy(P); }
};
using TFcPattern = std::unique_ptr<FcPattern, TFcPatternDeleter>;

// fontconfig's best match for a pattern, with the default substitutions applied.
TFcPattern Match(const QString& Family, bool Bold, bool Italic) {
  FcInit();
  TFcPattern pat(FcPatternCreate());
  if (!Family.isEmpty())
    FcPatternAddString(pat.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.toUtf8().constData()));
  else
    FcPatternAddString(pat.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcPatternAddInteger(pat.get(), FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pat.get(), FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pat.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pat.get(), FcMatchPattern);
  FcDefaultSubstitute(pat.get());
  FcResult result = FcResultNoMatch;
  return TFcPattern(FcFontMatch(nullptr, pat.get(), &result));
}

QString StringOf(FcPattern* P, const char* Object) {
  FcChar8* s = nullptr;
  if (P && FcPatternGetString(P, Object, 0, &s) == FcResultMatch && s)
    return QString::fromUtf8(reinterpret_cast<const char*>(s));
  return {};
}

// Installed family names by lower-case name, read once.
const QHash<QString, QString>& InstalledFamilies() {
  static const QHash<QString, QString> families = [] {
    QHash<QString, QString> map;
    FcInit();
    FcPattern* pat = FcPatternCreate();
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    if (FcFontSet* set = FcFontList(nullptr, pat, os)) {
      for (int i = 0; i < set->nfont; ++i) {
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n) {
          const QString family = QString::fromUtf8(reinterpret_cast<const char*>(name));
          map.insert(family.toLower(), family);
        }
      }
      FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(os);
    FcPatternDestroy(pat);
    return map;
  }();
  return families;
}

bool IsNameChar(QChar C) { return C.isLetterOrNumber() || C == QLatin1Char('_'); }

}  // namespace

TDebugMessageSink SetDebugMessageSink(TDebugMessageSink NewSink) {
  TDebugMessageSink previous = std::move(Sink());
  Sink() = std::move(NewSink);
  return previous;
}

bool HasDebugMessageSink() { return static_cast<bool>(Sink()); }

void PostDebugMessage(const QString& Message) {
  if (Sink()) Sink()(Message);
}

QString CheckForFont(const QString& FamilyName) {
  const QString wanted = FamilyName.trimmed();
  if (!wanted.isEmpty()) {
    const auto it = InstalledFamilies().constFind(wanted.toLower());
    if (it != InstalledFamilies().constEnd()) return it.value();
  }
  const QString matched = StringOf(Match(wanted, false, false).get(), FC_FAMILY);
  return matched.isEmpty() ? wanted : matched;
}

QString FontFileFor(const QString& FamilyName, bool Bold, bool Italic) {
  return StringOf(Match(FamilyName, Bold, Italic).get(), FC_FILE);
}

QString ExpandEnvironmentVariables(const QString& Text) {
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  QString out;
  out.reserve(Text.size());
  const qsizetype n = Text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = Text.at(i);
    if (c == QLatin1Char('$') && i + 1 < n) {
      const QChar next = Text.at(i + 1);
      if (next == QLatin1Char('$')) {
        out += QLatin1Char('$');
        ++i;
        continue;
      }
      if (next == QLatin1Char('{')) {
        const qsizetype close = Text.indexOf(QLatin1Char('}'), i + 2);
        if (close > i + 2) {
          out += env.value(Text.mid(i + 2, close - i - 2));
          i = close;
          continue;
        }
      } else if (IsNameChar(next) && !next.isDigit()) {
        qsizetype end = i + 1;
        while (end < n && IsNameChar(Text.at(end))) ++end;
        out += env.value(Text.mid(i + 1, end - i - 1));
        i = end - 1;
        continue;
      }
    } else if (c == QLatin1Char('%') && i + 1 < n) {
      if (Text.at(i + 1) == QLatin1Char('%')) {
        out += QLatin1Char('%');
        ++i;
        continue;
      }
      const qsizetype close = Text.indexOf(QLatin1Char('%'), i + 1);
      if (close > i + 1) {
        const QString name = Text.mid(i + 1, close - i - 1);
        if (std::all_of(name.begin(), name.end(), IsNameChar) && env.contains(name)) {
          out += env.value(name);
          i = close;
          continue;
        }
      }
    }
    out += c;
  }
  return out;
}

}  // namespace vorn
