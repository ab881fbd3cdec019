#include "vorn/common/ResStrs.h"

#include <QCoreApplication>

#include <cstring>
#include <iterator>

namespace vorn {
namespace {

struct TResString {
  const char* Identifier;
  const char* Text;
};

// Identifiers and default texts; the texts are the source strings of the translations.
constexpr TResString kResStrings[] = {
    {"rsUnknownExtension", QT_TRANSLATE_NOOP("KxDEResStrs", "Unknown graphic file (%s)\r\n%s")},
    {"rsOwnerLayer", QT_TRANSLATE_NOOP("KxDEResStrs", "Owner layer")},
    {"rsVisible", QT_TRANSLATE_NOOP("KxDEResStrs", "Visible")},
    {"rsPrintingAllowed", QT_TRANSLATE_NOOP("KxDEResStrs", "Printing allowed")},
    {"rsJScriptName", QT_TRANSLATE_NOOP("KxDEResStrs", "JScript name")},
    {"rsVariableType", QT_TRANSLATE_NOOP("KxDEResStrs", "Type")},
    {"rsInvisible", QT_TRANSLATE_NOOP("KxDEResStrs", "Invisible")},
    {"rsSummary", QT_TRANSLATE_NOOP("KxDEResStrs", "Summary")},
    {"rsClipboardCannotBeOpened", QT_TRANSLATE_NOOP("KxDEResStrs", "Clipboard cannot be opened, try again")},
    {"rsInvalidClipFmt", QT_TRANSLATE_NOOP("KxDEResStrs", "Invalid clipboard format")},
    {"rsFontNameSubstitution", QT_TRANSLATE_NOOP("KxDEResStrs", "Font \"%s\" was substituted with font \"%s\"")},
    {"rsGroupDisplayName", QT_TRANSLATE_NOOP("KxDEResStrs", "Group")},
    {"rsLayerDisplayName", QT_TRANSLATE_NOOP("KxDEResStrs", "Layer")},
    {"rsLayerManagerLayer", QT_TRANSLATE_NOOP("KxDEResStrs", "Layer - ")},
    {"rsLayerManagerShape", QT_TRANSLATE_NOOP("KxDEResStrs", "Shape - ")},
    {"rsSysErrorCode", QT_TRANSLATE_NOOP("KxDEResStrs", "System error. Code: %d.\r\n%s")},
    {"rsSysErrorUnknown", QT_TRANSLATE_NOOP("KxDEResStrs", "A call to an OS function failed")},
    {"rsSetSizeOverflow",
     QT_TRANSLATE_NOOP("KxDEResStrs", "Overflow: size given by parameter is greater as result can hold")},
};

QString Tr(const char* Text) { return QCoreApplication::translate("KxDEResStrs", Text); }

QString ById(const char* Identifier) {
  for (const TResString& r : kResStrings)
    if (std::strcmp(r.Identifier, Identifier) == 0) return Tr(r.Text);
  return {};
}

}  // namespace

QString LoadResString(const char* Identifier) { return ById(Identifier); }

QString rsUnknownExtension() { return ById("rsUnknownExtension"); }
QString rsOwnerLayer() { return ById("rsOwnerLayer"); }
QString rsVisible() { return ById("rsVisible"); }
QString rsPrintingAllowed() { return ById("rsPrintingAllowed"); }
QString rsJScriptName() { return ById("rsJScriptName"); }
QString rsVariableType() { return ById("rsVariableType"); }
QString rsInvisible() { return ById("rsInvisible"); }
QString rsSummary() { return ById("rsSummary"); }
QString rsClipboardCannotBeOpened() { return ById("rsClipboardCannotBeOpened"); }
QString rsInvalidClipFmt() { return ById("rsInvalidClipFmt"); }
QString rsFontNameSubstitution() { return ById("rsFontNameSubstitution"); }
QString rsGroupDisplayName() { return ById("rsGroupDisplayName"); }
QString rsLayerDisplayName() { return ById("rsLayerDisplayName"); }
QString rsLayerManagerLayer() { return ById("rsLayerManagerLayer"); }
QString rsLayerManagerShape() { return ById("rsLayerManagerShape"); }
QString rsSysErrorCode() { return ById("rsSysErrorCode"); }
QString rsSysErrorUnknown() { return ById("rsSysErrorUnknown"); }
QString rsSetSizeOverflow() { return ById("rsSetSizeOverflow"); }

QString TranslatedBool(bool Value) {
  return Value ? QCoreApplication::translate("KxDeShapeBase", "True")
               : QCoreApplication::translate("KxDeShapeBase", "False");
}

QString kxdFormat(const QString& Format, std::initializer_list<QVariant> Args) {
  QString out;
  out.reserve(Format.size() + 16);
  auto arg = Args.begin();
  for (qsizetype i = 0; i < Format.size(); ++i) {
    const QChar c = Format.at(i);
    if (c != QLatin1Char('%') || i + 1 >= Format.size()) {
      out += c;
      continue;
    }
    const QChar spec = Format.at(i + 1);
    if (spec == QLatin1Char('%')) {
      out += QLatin1Char('%');
      ++i;
    } else if ((spec == QLatin1Char('s') || spec == QLatin1Char('d')) && arg != Args.end()) {
      out += spec == QLatin1Char('d') ? QString::number(arg->toLongLong()) : arg->toString();
      ++arg;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace vorn
