#include "vorn/common/PictureRegisteredFormats.h"

#include "vorn/common/Graphic.h"

#include <QImageReader>

#include <vector>

namespace vorn {
namespace {

struct TFormat {
  QString Extension;  // lower case, no dot
  QString Description;
  TGraphicClass Class;
};

// The built-in formats; codecs of the library add theirs while it loads.
std::vector<TFormat>& Registered() {
  static std::vector<TFormat> formats = [] {
    std::vector<TFormat> f = {
        {QStringLiteral("bmp"), QStringLiteral("Bitmaps"), ClassOf<TBitmap>()},
        {QStringLiteral("png"), QStringLiteral("Portable Network Graphics"), ClassOf<TPngImage>()},
        {QStringLiteral("jpg"), QStringLiteral("JPEG Image File"), ClassOf<TJPEGImage>()},
        {QStringLiteral("jpeg"), QStringLiteral("JPEG Image File"), ClassOf<TJPEGImage>()},
        {QStringLiteral("gif"), QStringLiteral("GIF Image"), ClassOf<TGIFImage>()},
        {QStringLiteral("svg"), QStringLiteral("Scalable Vector Graphics"), ClassOf<TSvgGraphic>()},
    };
    return f;
  }();
  return formats;
}

// The registered formats plus whatever else the Qt image plugins of this machine read. The
// plugins are asked on first use, not while the library loads.
std::vector<TFormat>& Formats() {
  static bool pluginsAdded = false;
  std::vector<TFormat>& f = Registered();
  if (!pluginsAdded) {
    pluginsAdded = true;
    for (const QByteArray& fmt : QImageReader::supportedImageFormats()) {
      const QString ext = QString::fromLatin1(fmt).toLower();
      bool known = false;
      for (const TFormat& k : f) known = known || k.Extension == ext;
      if (!known && ext != QLatin1String("svgz"))
        f.push_back({ext, ext.toUpper() + QStringLiteral(" Image"), ClassOf<TQtImage>()});
    }
  }
  return f;
}

struct TClipboardFormat {
  uint16_t Format;
  TGraphicClass Class;
};

std::vector<TClipboardFormat>& ClipboardFormats() {
  static std::vector<TClipboardFormat> formats;
  return formats;
}

QString Normalise(const QString& Ext) {
  QString e = Ext.trimmed();
  if (e.startsWith(QLatin1Char('.'))) e.remove(0, 1);
  return e.toLower();
}

}  // namespace

void RegisterPictureFileFormat(const QString& Extension, const QString& Description, TGraphicClass GraphicClass) {
  const QString ext = Normalise(Extension);
  if (ext.isEmpty() || !GraphicClass) return;
  for (TFormat& f : Registered()) {
    if (f.Extension == ext) {
      f.Description = Description;
      f.Class = GraphicClass;
      return;
    }
  }
  Registered().push_back({ext, Description, GraphicClass});
}

void UnregisterPictureFileFormat(const QString& Extension) {
  const QString ext = Normalise(Extension);
  auto& f = Formats();
  std::erase_if(f, [&](const TFormat& x) { return x.Extension == ext; });
}

void RegisterPictureClipboardFormat(uint16_t Format, TGraphicClass GraphicClass) {
  if (!GraphicClass) return;
  for (TClipboardFormat& f : ClipboardFormats()) {
    if (f.Format == Format) {
      f.Class = GraphicClass;
      return;
    }
  }
  ClipboardFormats().push_back({Format, GraphicClass});
}

TGraphicClass GraphicClassForClipboardFormat(uint16_t Format) {
  for (const TClipboardFormat& f : ClipboardFormats())
    if (f.Format == Format) return f.Class;
  return nullptr;
}

void UnregisterGraphicClass(TGraphicClass GraphicClass) {
  std::erase_if(Registered(), [&](const TFormat& f) { return f.Class == GraphicClass; });
  std::erase_if(ClipboardFormats(), [&](const TClipboardFormat& f) { return f.Class == GraphicClass; });
}

void GetListOfRegisteredPictureFileFormats(QList<TPictureFormatLine>& List) {
  for (const TFormat& f : Formats()) List << TPictureFormatLine{f.Extension + QLatin1Char('=') + f.Description, f.Class};
}

void GetListOfRegisteredPictureTypes(QList<TGraphicClass>& ClassList) {
  for (const TFormat& f : Formats())
    if (!ClassList.contains(f.Class)) ClassList << f.Class;
}

TGraphicClass GraphicClassForExtension(const QString& Ext) {
  const QString ext = Normalise(Ext);
  for (const TFormat& f : Formats())
    if (f.Extension == ext) return f.Class;
  return nullptr;
}

TGraphicClass GraphicClassByName(const QString& ClassName) {
  for (const TFormat& f : Formats())
    if (f.Class->ClassName().compare(ClassName, Qt::CaseInsensitive) == 0) return f.Class;
  return nullptr;
}

QString PictureFileDialogFilter() {
  QStringList patterns;
  for (const TFormat& f : Formats()) patterns << QStringLiteral("*.") + f.Extension;
  return QStringLiteral("Pictures (%1)").arg(patterns.join(QLatin1Char(' ')));
}

}  // namespace vorn
