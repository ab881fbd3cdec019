#include "vorn/editor/KxDeClipboardPicture_p.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/Graphic.h"
#include "vorn/common/Units.h"
#include "vorn/common/XmlUtils.h"
#include "vorn/common/mekDeviceCapsInfo.h"
#include "vorn/editor/EditorLog_p.h"
#include "vorn/editor/mekClipboard.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeObjectXml.h"
#include "vorn/model/KxDeShapePen.h"
#include "vorn/surface/KxDeShapePainter.h"

#include <QBuffer>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <utility>

namespace vorn {

namespace {

// Pictures of copies are refused beyond this depth of nesting, as pastes are.
constexpr int32_t kMaxDepth = 64;
// The largest PNG image a copy offers, in pixels; larger selections are drawn at a smaller zoom.
constexpr double kMaxPixels = 32.0 * 1024 * 1024;
constexpr double kMaxSide = 16384;

// World units per inch: 96 at the default unit setting, as a screen shows them at zoom 100.
double UnitsPerInch() { return static_cast<double>(CoordsPixelsPerMMConvertValue) * 25.4; }

// The shapes of a payload in a layer of their own, and the world rectangle of what they draw
// (whole units; empty when there is nothing).
struct TPayloadShapes {
  TOwned<TKxDeLayer> Layer;
  QRect Area;
};

TPayloadShapes LoadPayload(const QByteArray& Payload) {
  TPayloadShapes out;
  TXmlDocument doc;
  try {
    XmlParse(doc, Payload);
  } catch (const EXmlError& e) {
    qCDebug(lcEditor) << "Clipboard picture: the payload cannot be read:" << e.Message();
    return out;
  }
  const TXmlNode root = doc.child("os");
  if (!root) return out;
  out.Layer.reset(Create<TKxDeLayer>(static_cast<TKxDeSurface*>(nullptr)));
  TKxDeObjectXml::LoadObjects(root, out.Layer.get(), TKxDeXmlReadOptions{.MaxDepth = kMaxDepth});
  TRectF drawn;
  bool any = false;
  for (int32_t i = 0; i < out.Layer->ItemCount(); ++i) {
    const TKxDeShapeBase* s = out.Layer->Items(i);
    if (!s->Visible()) continue;
    TRectF r = s->GetRotatedBounds();
    // Half the pen lies outside the outline, and edges are smoothed over one more unit.
    const float pen = s->HasPen() ? s->Pen()->Width() * CoordsPixelsPerMMConvertValue / 2 : 0;
    const float margin = pen + 1;
    r = TRectF{r.Left - margin, r.Top - margin, r.Right + margin, r.Bottom + margin};
    if (!std::isfinite(r.Left) || !std::isfinite(r.Top) || !std::isfinite(r.Right) || !std::isfinite(r.Bottom))
      continue;
    drawn = any ? drawn.Union(r) : r;
    any = true;
  }
  if (!any || !(drawn.Width() > 0) || !(drawn.Height() > 0) || std::abs(drawn.Left) > 1e7f ||
      std::abs(drawn.Top) > 1e7f || drawn.Width() > 1e7f || drawn.Height() > 1e7f)
    return out;
  const int left = static_cast<int>(std::floor(drawn.Left));
  const int top = static_cast<int>(std::floor(drawn.Top));
  out.Area = QRect(QPoint(left, top),
                   QPoint(static_cast<int>(std::ceil(drawn.Right)) - 1, static_cast<int>(std::ceil(drawn.Bottom)) - 1));
  // Groups and packages draw only inside their layer's rectangle: make it hold them all.
  out.Layer->Resize(static_cast<float>(std::max(1, out.Area.right() + 1)),
                    static_cast<float>(std::max(1, out.Area.bottom() + 1)));
  return out;
}

// Paints the shapes with the area's corner at the canvas's origin.
void PaintPayload(const TPayloadShapes& Shapes, TCanvas* C, double Zoom, PmekDeviceCapsInfo Caps) {
  const QRect& a = Shapes.Area;
  const TRectF area{static_cast<float>(a.left()), static_cast<float>(a.top()), static_cast<float>(a.right() + 1),
                    static_cast<float>(a.bottom() + 1)};
  TKxDeShapePainter painter(C, static_cast<float>(-a.left() * Zoom), static_cast<float>(-a.top() * Zoom), Zoom, area,
                            Caps);
  for (int32_t i = 0; i < Shapes.Layer->ItemCount(); ++i) painter.Paint(Shapes.Layer->Items(i));
}

TmekDeviceCapsInfo Caps(int32_t Technology, double Dpi) {
  TmekDeviceCapsInfo caps;
  caps.Technology = Technology;
  caps.LogPixelsX = caps.LogPixelsY = static_cast<int32_t>(std::lround(Dpi));
  caps.BitsPixel = 32;
  caps.RasterCaps = RC_BITBLT | RC_STRETCHBLT | RC_STRETCHDIB;
  return caps;
}

// A length of an SVG drawing's root element in world units; false for a relative or unknown unit.
bool SvgLength(const char* Text, double& Out) {
  static const QRegularExpression number(
      QStringLiteral(R"(^\s*(\+?[0-9]*\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\s*([a-z]*)\s*$)"));
  const QRegularExpressionMatch m = number.match(QString::fromUtf8(Text));
  if (!m.hasMatch()) return false;
  const QString unit = m.captured(2);
  double perInch = 0;
  if (unit.isEmpty() || unit == QLatin1String("px")) perInch = 96;
  else if (unit == QLatin1String("pt")) perInch = 72;
  else if (unit == QLatin1String("pc")) perInch = 6;
  else if (unit == QLatin1String("in")) perInch = 1;
  else if (unit == QLatin1String("cm")) perInch = 2.54;
  else if (unit == QLatin1String("mm")) perInch = 25.4;
  else return false;
  Out = m.captured(1).toDouble() / perInch * UnitsPerInch();
  return std::isfinite(Out) && Out > 0;
}

QSizeF SvgSize(const QByteArray& Source) {
  pugi::xml_document doc;
  if (!doc.load_buffer(Source.constData(), static_cast<size_t>(Source.size()))) return {};
  const TXmlNode svg = doc.document_element();
  double w = 0, h = 0;
  if (SvgLength(svg.attribute("width").as_string(), w) && SvgLength(svg.attribute("height").as_string(), h))
    return QSizeF(w, h);
  // Without a size of its own a drawing measures its view box in pixels.
  const QStringList box = QString::fromUtf8(svg.attribute("viewBox").as_string())
                              .split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
  if (box.size() == 4) {
    const double k = UnitsPerInch() / 96;
    w = box[2].toDouble() * k;
    h = box[3].toDouble() * k;
    if (w > 0 && h > 0 && std::isfinite(w) && std::isfinite(h)) return QSizeF(w, h);
  }
  return {};
}

}  // namespace

QByteArray TKxDeClipboardPicture::Svg(const QByteArray& Payload) {
  const TPayloadShapes shapes = LoadPayload(Payload);
  if (shapes.Area.isEmpty()) return {};
  QByteArray bytes;
  QBuffer out(&bytes);
  out.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&out);
  generator.setSize(shapes.Area.size());
  generator.setViewBox(QRect(QPoint(0, 0), shapes.Area.size()));
  generator.setResolution(static_cast<int>(std::lround(UnitsPerInch())));
  generator.setTitle(QStringLiteral("Copied shapes"));
  generator.setDescription(QStringLiteral("Drawn by the Vorn Drawing Engine"));
  QPainter painter;
  if (!painter.begin(&generator)) return {};
  {
    TCanvas canvas(&painter);
    canvas.SetAntialiasing(true);
    TmekDeviceCapsInfo caps = Caps(DT_METAFILE, UnitsPerInch());
    PaintPayload(shapes, &canvas, 1.0, &caps);
  }
  painter.end();
  return bytes;
}

QByteArray TKxDeClipboardPicture::Png(const QByteArray& Payload, double Zoom) {
  const TPayloadShapes shapes = LoadPayload(Payload);
  if (shapes.Area.isEmpty() || !(Zoom > 0)) return {};
  const double w = shapes.Area.width();
  const double h = shapes.Area.height();
  const double zoom = std::min({Zoom, std::sqrt(kMaxPixels / (w * h)), kMaxSide / w, kMaxSide / h});
  QImage image(std::max(1, static_cast<int>(std::ceil(w * zoom))), std::max(1, static_cast<int>(std::ceil(h * zoom))),
               QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {};
  image.fill(Qt::transparent);
  const double dpi = UnitsPerInch() * zoom;
  image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
  image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
  {
    TCanvas canvas(&image);
    canvas.SetAntialiasing(true);
    TmekDeviceCapsInfo caps = Caps(DT_RASDISPLAY, dpi);
    PaintPayload(shapes, &canvas, zoom, &caps);
  }
  QByteArray bytes;
  QBuffer out(&bytes);
  out.open(QIODevice::WriteOnly);
  return image.save(&out, "PNG") ? bytes : QByteArray();
}

bool TKxDeClipboardPicture::Read(const TmekClipboard* Clipboard, QByteArray& Bytes, QString& Extension) {
  static const std::pair<const char*, const char*> kinds[] = {{"image/svg+xml", "svg"}, {"image/png", "png"}};
  for (const auto& [mime, extension] : kinds) {
    if (!Clipboard->HasMimeType(QLatin1String(mime))) continue;
    Bytes = Clipboard->GetMimeData(QLatin1String(mime));
    Extension = QLatin1String(extension);
    if (!Bytes.isEmpty()) return true;
  }
  // Other images (JPEG, BMP, ...) travel on as PNG.
  if (!Clipboard->HasFormat(CF_DIB)) return false;
  const QImage image = Clipboard->GetImage();
  if (image.isNull()) return false;
  Bytes.clear();
  QBuffer out(&Bytes);
  out.open(QIODevice::WriteOnly);
  Extension = QStringLiteral("png");
  return image.save(&out, "PNG");
}

QSizeF TKxDeClipboardPicture::NaturalSize(const TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return {};
  if (const auto* svg = dynamic_cast<const TSvgGraphic*>(Graphic)) {
    const QSizeF size = SvgSize(svg->Source());
    if (!size.isEmpty()) return size;
  }
  // Raster images at their resolution (96 dots per inch when they record none that makes sense).
  double dpi = 96;
  if (const auto* raster = dynamic_cast<const TRasterGraphic*>(Graphic)) {
    const double recorded = raster->Image().dotsPerMeterX() * 0.0254;
    if (recorded >= 10 && recorded <= 10000) dpi = recorded;
  }
  const double k = UnitsPerInch() / dpi;
  return QSizeF(Graphic->Width() * k, Graphic->Height() * k);
}

}  // namespace vorn
