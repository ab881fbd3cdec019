#include "vorn/shapes/VornBarcode.h"

#include <vorn/common/Canvas.h>
#include <vorn/model/KxDeShapeFont.h>

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

// Barcode text is drawn with a font of this many pixels to the em, scaled to its size.
constexpr int kTextEm = 256;

}  // namespace

TVornBarcode::TVornBarcode(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornBoxShape(ASurface, AOwner) {
  // The data is the label and the font draws the human-readable text. Bars have their own
  // colour; the shape uses no pen and no brush (a default fill handed to new shapes would hide
  // black bars behind black): the label under it is its background.
  IncludeStyles({TKxDeShapeStyle::kxssUsesLabel, TKxDeShapeStyle::kxssUsesFont});
  ExcludeStyles({TKxDeShapeStyle::kxssUsesPen});
  Font()->SetName(QStringLiteral("DejaVu Sans"));
}

TVornBarcode::~TVornBarcode() = default;

void TVornBarcode::SetSymbology(TVornBarcodeType Value) { ChangeProperty(FSymbology, Value, "Symbology"); }
void TVornBarcode::SetShowText(bool Value) { ChangeProperty(FShowText, Value, "ShowText"); }
void TVornBarcode::SetBarColor(TColor Value) { ChangeProperty(FBarColor, Value, "BarColor"); }

const TVornBarcodeSymbol& TVornBarcode::Symbol() const {
  const QString text = Text();
  if (!FSymbol || FSymbolText != text || FSymbolType != FSymbology || FSymbolShowText != FShowText) {
    FSymbol = std::make_unique<TVornBarcodeSymbol>(TVornBarcodeSymbol::Encode(FSymbology, text, FShowText));
    FSymbolText = text;
    FSymbolType = FSymbology;
    FSymbolShowText = FShowText;
    // The error of the last encoding, for the host to show.
    const_cast<TVornBarcode*>(this)->SetErrText(FSymbol->Valid() ? QString() : FSymbol->Error());
  }
  return *FSymbol;
}

double TVornBarcode::AspectRatio() const {
  if (!TVornBarcodeSymbol::IsTwoDimensional(FSymbology)) return 0;
  const TVornBarcodeSymbol& s = Symbol();
  return s.Valid() ? s.Width() / s.Height() : 1.0;
}

QRectF TVornBarcode::SymbolRect(const QRectF& Box) const {
  const TVornBarcodeSymbol& s = Symbol();
  if (!s.Valid() || !s.TwoDimensional()) return Box;
  const double k = std::min(Box.width() / s.Width(), Box.height() / s.Height());
  const double w = s.Width() * k;
  const double h = s.Height() * k;
  return QRectF(Box.left() + (Box.width() - w) / 2, Box.top() + (Box.height() - h) / 2, w, h);
}

void TVornBarcode::PlaceSymbol(const QRectF& Box, std::vector<QRectF>& Bars, std::vector<TPlacedText>& Texts) const {
  Bars.clear();
  Texts.clear();
  const TVornBarcodeSymbol& s = Symbol();
  if (!s.Valid() || Box.width() <= 0 || Box.height() <= 0) return;
  if (s.TwoDimensional()) {
    const QRectF area = SymbolRect(Box);
    const double k = area.width() / s.Width();
    Bars.reserve(s.Bars().size());
    for (const QRectF& b : s.Bars())
      Bars.emplace_back(area.left() + b.left() * k, area.top() + b.top() * k, b.width() * k, b.height() * k);
    return;
  }
  // Across: modules fill the width. Down: the text zone keeps its proportion to the module width
  // (but takes at most half the box), the bars take the rest.
  const double sx = Box.width() / s.Width();
  const double bars = s.BarBottom();
  const double below = s.Height() - bars;
  const double zone = below > 0 ? std::min(below * sx, Box.height() / 2) : 0;
  const double sy = (Box.height() - zone) / bars;
  const double ty = below > 0 ? zone / below : 0;
  auto mapY = [&](double y) { return Box.top() + (y <= bars ? y * sy : bars * sy + (y - bars) * ty); };
  Bars.reserve(s.Bars().size());
  for (const QRectF& b : s.Bars()) {
    const double top = mapY(b.top());
    Bars.emplace_back(Box.left() + b.left() * sx, top, b.width() * sx, mapY(b.bottom()) - top);
  }
  for (const TVornBarcodeSymbol::TText& t : s.Texts()) {
    TPlacedText p;
    p.Text = t.Text;
    p.Baseline = QPointF(Box.left() + t.Position.x() * sx, mapY(t.Position.y()));
    p.Size = t.Size * std::min(sx, ty);
    p.HAlign = t.HAlign;
    Texts.push_back(p);
  }
}

void TVornBarcode::PaintShape(TCanvas* C, const QTransform& ToDevice, double, int32_t, PmekDeviceCapsInfo) {
  const TVornVertices v = Vertices();
  const QRectF box = BoxOf(v);
  QPainter* p = C->Painter();
  const TVornBarcodeSymbol& s = Symbol();
  if (!s.Valid()) {
    // Nothing readable can be drawn: cross the box out so the mistake shows.
    p->setPen(QPen(ToQColor(clRed), 0));
    p->setBrush(Qt::NoBrush);
    const QRectF r = ToDevice.mapRect(box);
    p->drawRect(r);
    p->drawLine(r.topLeft(), r.bottomRight());
    p->drawLine(r.topRight(), r.bottomLeft());
    return;
  }
  std::vector<QRectF> bars;
  std::vector<TPlacedText> texts;
  PlaceSymbol(box, bars, texts);
  p->setPen(Qt::NoPen);
  p->setBrush(ToQColor(FBarColor));
  for (const QRectF& b : bars) p->drawRect(ToDevice.mapRect(b));
  if (texts.empty()) return;
  QFont font(Font()->Name());
  font.setPixelSize(kTextEm);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setBold(Font()->Style().Contains(TFontStyle::fsBold));
  font.setItalic(Font()->Style().Contains(TFontStyle::fsItalic));
  const QFontMetricsF metrics(font);
  p->save();
  p->setFont(font);
  p->setPen(ToQColor(Font()->Color()));
  const QTransform base = p->worldTransform();
  for (const TPlacedText& t : texts) {
    if (t.Size <= 0) continue;
    const double k = t.Size / kTextEm;
    const double width = metrics.horizontalAdvance(t.Text);
    double x = 0;
    if (t.HAlign & Qt::AlignHCenter) x = -width / 2;
    else if (t.HAlign & Qt::AlignRight) x = -width;
    p->setWorldTransform(QTransform::fromScale(k, k) * QTransform::fromTranslate(t.Baseline.x(), t.Baseline.y()) *
                         ToDevice * base);
    p->drawText(QPointF(x, 0), t.Text);
  }
  p->restore();
}

bool TVornBarcode::HitGeometry(const TPointF& P, float Fuzz) const {
  const QRectF box = ToQt(Box());
  return SymbolRect(box).adjusted(-Fuzz, -Fuzz, Fuzz, Fuzz).contains(ToQt(P));
}

void TVornBarcode::SaveToXML(TXmlNode Node) const {
  TVornBoxShape::SaveToXML(Node);
  XmlWriteInteger(Node, "Symbology", static_cast<int32_t>(FSymbology));
  XmlWriteBool(Node, "ShowText", FShowText);
  XmlWriteInteger(Node, "BarColor", FBarColor);
}

void TVornBarcode::LoadFromXML(TXmlNode Node, bool KeepID) {
  BeginUpdate();
  TVornBoxShape::LoadFromXML(Node, KeepID);
  FSymbology = XmlReadEnum(Node, "Symbology", FSymbology, TVornBarcodeType::vbtPDF417);
  FShowText = XmlReadBool(Node, "ShowText", FShowText);
  FBarColor = XmlReadInteger(Node, "BarColor", FBarColor);
  Changed(false);
  EndUpdate();
}

}  // namespace vorn
