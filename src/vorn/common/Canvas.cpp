#include "vorn/common/Canvas.h"

#include "vorn/common/Units.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPolygon>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace vorn {
namespace {

QPolygon ToQPolygon(const TPointArray& Points) {
  QPolygon poly(static_cast<int>(Points.size()));
  for (size_t i = 0; i < Points.size(); ++i) poly.setPoint(static_cast<int>(i), Points[i].X, Points[i].Y);
  return poly;
}

QPolygonF ToQPolygonF(const TDPointArray& Points) {
  QPolygonF poly;
  poly.reserve(static_cast<qsizetype>(Points.size()));
  for (const TPointF& p : Points) poly << QPointF(p.X, p.Y);
  return poly;
}

// The outline rectangle of a canvas rectangle call: the right and bottom edges are excluded.
// QPainter outlines a QRect one pixel wider and higher than the rectangle, hence the minus one.
QRect OutlineRect(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (X2 < X1) std::swap(X1, X2);
  if (Y2 < Y1) std::swap(Y1, Y2);
  return QRect(X1, Y1, std::max(0, X2 - X1 - 1), std::max(0, Y2 - Y1 - 1));
}

}  // namespace

// ---- pen, brush, font -------------------------------------------------------------------------

void TPen::Assign(const TPen& Source) {
  FColor = Source.FColor;
  FStyle = Source.FStyle;
  FMode = Source.FMode;
  FWidth = Source.FWidth;
  FCustom = Source.FCustom ? std::make_unique<QPen>(*Source.FCustom) : nullptr;
  Changed();
}

QPen TPen::ToQPen() const {
  if (FStyle == TPenStyle::psClear) return QPen(Qt::NoPen);
  if (FCustom) return *FCustom;
  QPen pen(ToQColor(FColor));
  // Width 0 and 1 are the thin one-pixel pen.
  if (FWidth <= 1) {
    pen.setWidth(0);
    pen.setCosmetic(true);
  } else {
    pen.setWidth(FWidth);
  }
  switch (FStyle) {
    case TPenStyle::psDash: pen.setStyle(Qt::DashLine); break;
    case TPenStyle::psDot: pen.setStyle(Qt::DotLine); break;
    case TPenStyle::psDashDot: pen.setStyle(Qt::DashDotLine); break;
    case TPenStyle::psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    case TPenStyle::psAlternate: pen.setDashPattern({1, 1}); break;
    default: pen.setStyle(Qt::SolidLine); break;
  }
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

QBrush TBrush::ToQBrush() const {
  const QColor c = ToQColor(FColor);
  switch (FStyle) {
    case TBrushStyle::bsClear: return QBrush(Qt::NoBrush);
    case TBrushStyle::bsHorizontal: return QBrush(c, Qt::HorPattern);
    case TBrushStyle::bsVertical: return QBrush(c, Qt::VerPattern);
    case TBrushStyle::bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
    case TBrushStyle::bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
    case TBrushStyle::bsCross: return QBrush(c, Qt::CrossPattern);
    case TBrushStyle::bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
    default: return FColor == clNone ? QBrush(Qt::NoBrush) : QBrush(c);
  }
}

int32_t TFont::Size() const {
  if (FHeight == 0) return FSize;
  // Height in pixels at the screen resolution, back to points.
  return static_cast<int32_t>(std::lround(std::abs(FHeight) * 72.0 / ScreenPixelsPerInch));
}

void TFont::SetSize(int32_t Value) {
  if (FSize == Value && FHeight == 0) return;
  FSize = Value;
  FHeight = 0;
  Changed();
}

void TFont::Assign(const TFont& Source) {
  FName = Source.FName;
  FSize = Source.FSize;
  FHeight = Source.FHeight;
  FColor = Source.FColor;
  FStyle = Source.FStyle;
  FOrientation = Source.FOrientation;
  Changed();
}

QFont TFont::ToQFont() const {
  QFont f(FName);
  if (FHeight < 0) {
    f.setPixelSize(-FHeight);
  } else if (FHeight > 0) {
    // A positive height is the cell height; the character height is about its 7/8.
    f.setPixelSize(std::max(1, FHeight * 7 / 8));
  } else {
    f.setPointSize(std::max(1, FSize));
  }
  f.setBold(FStyle.Contains(TFontStyle::fsBold));
  f.setItalic(FStyle.Contains(TFontStyle::fsItalic));
  f.setUnderline(FStyle.Contains(TFontStyle::fsUnderline));
  f.setStrikeOut(FStyle.Contains(TFontStyle::fsStrikeOut));
  return f;
}

// ---- canvas ------------------------------------------------------------------------------------

TCanvas::TCanvas(QPaintDevice* Device) : FOwnPainter(std::make_unique<QPainter>(Device)) {
  FPainter = FOwnPainter.get();
  Init();
}

TCanvas::TCanvas(QPainter* Painter) : FPainter(Painter) { Init(); }

TCanvas::~TCanvas() {
  if (FOwnPainter && FOwnPainter->isActive()) FOwnPainter->end();
}

void TCanvas::Init() {
  auto dirty = [this] { FStateDirty = true; };
  FPen.OnChange = dirty;
  FBrush.OnChange = dirty;
  FFont.OnChange = dirty;
  FPainter->setRenderHint(QPainter::Antialiasing, FAntialiasing);
  FPainter->setRenderHint(QPainter::TextAntialiasing, true);
  FPainter->setBackgroundMode(Qt::TransparentMode);
}

QPainter* TCanvas::Painter() {
  RequireState(true, true);
  return FPainter;
}

QPainter* TCanvas::DevicePainter() {
  RequireModes();
  return FPainter;
}

QPaintDevice* TCanvas::Device() const { return FPainter->device(); }

QImage* TCanvas::Image() const {
  QPaintDevice* dev = FPainter->device();
  return dev && dev->devType() == QInternal::Image ? static_cast<QImage*>(dev) : nullptr;
}

void TCanvas::SetAntialiasing(bool Value) {
  FAntialiasing = Value;
  FPainter->setRenderHint(QPainter::Antialiasing, Value);
}

QPainter::CompositionMode TCanvas::CompositionFor(TPenMode Mode) const {
  // Raster operations only exist on raster (image) devices.
  if (!Image()) return QPainter::CompositionMode_SourceOver;
  switch (Mode) {
    case TPenMode::pmBlack: return QPainter::RasterOp_ClearDestination;
    case TPenMode::pmWhite: return QPainter::RasterOp_SetDestination;
    case TPenMode::pmNot: return QPainter::RasterOp_NotDestination;
    case TPenMode::pmNotCopy: return QPainter::RasterOp_NotSource;
    case TPenMode::pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case TPenMode::pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case TPenMode::pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case TPenMode::pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case TPenMode::pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case TPenMode::pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case TPenMode::pmMask: return QPainter::RasterOp_SourceAndDestination;
    case TPenMode::pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case TPenMode::pmXor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

bool TCanvas::SkipDrawing() const { return FPen.Mode() == TPenMode::pmNop; }

void TCanvas::RequireModes() {
  if (!FStateDirty) return;
  FPainter->setFont(FFont.ToQFont());
  FPainter->setCompositionMode(CompositionFor(FPen.Mode()));
  FStateDirty = false;
}

void TCanvas::RequireState(bool UsePen, bool UseBrush) {
  RequireModes();
  // Pen and brush are set per call: an operation that must not outline or fill turns them off.
  FPainter->setPen(UsePen ? FPen.ToQPen() : QPen(Qt::NoPen));
  FPainter->setBrush(UseBrush ? FBrush.ToQBrush() : QBrush(Qt::NoBrush));
}

void TCanvas::LineTo(int32_t X, int32_t Y) {
  if (!SkipDrawing()) {
    RequireState(true, false);
    FPainter->drawLine(FPenPos.X, FPenPos.Y, X, Y);
  }
  FPenPos = {X, Y};
}

std::optional<QRectF> TCanvas::InsideFrame(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (FPen.Style() != TPenStyle::psInsideFrame) return std::nullopt;
  QPen pen = FPainter->pen();
  if (pen.style() == Qt::NoPen || pen.isCosmetic() || pen.widthF() <= 1) return std::nullopt;
  if (X2 < X1) std::swap(X1, X2);
  if (Y2 < Y1) std::swap(Y1, Y2);
  const double w = X2 - X1, h = Y2 - Y1;
  // A pen wider than the figure narrows to it, so that it still stays inside.
  const double width = std::min({pen.widthF(), w, h});
  if (width != pen.widthF()) {
    pen.setWidthF(width);
    FPainter->setPen(pen);
  }
  return QRectF(X1 + width / 2, Y1 + width / 2, w - width, h - width);
}

void TCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (SkipDrawing()) return;
  RequireState(true, true);
  if (const auto frame = InsideFrame(X1, Y1, X2, Y2)) FPainter->drawRect(*frame);
  else FPainter->drawRect(OutlineRect(X1, Y1, X2, Y2));
}

void TCanvas::RoundRect(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3) {
  if (SkipDrawing()) return;
  RequireState(true, true);
  if (const auto frame = InsideFrame(X1, Y1, X2, Y2)) {
    // The corners shrink with the outline.
    const double inset = FPainter->pen().widthF() / 2;
    FPainter->drawRoundedRect(*frame, std::max(0.0, X3 / 2.0 - inset), std::max(0.0, Y3 / 2.0 - inset));
  } else {
    FPainter->drawRoundedRect(OutlineRect(X1, Y1, X2, Y2), X3 / 2.0, Y3 / 2.0);
  }
}

void TCanvas::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (SkipDrawing()) return;
  RequireState(true, true);
  if (const auto frame = InsideFrame(X1, Y1, X2, Y2)) FPainter->drawEllipse(*frame);
  else FPainter->drawEllipse(OutlineRect(X1, Y1, X2, Y2));
}

void TCanvas::Polygon(const TPointArray& Points) {
  if (SkipDrawing() || Points.empty()) return;
  RequireState(true, true);
  FPainter->drawPolygon(ToQPolygon(Points));
}

void TCanvas::Polyline(const TPointArray& Points) {
  if (SkipDrawing() || Points.empty()) return;
  RequireState(true, false);
  FPainter->drawPolyline(ToQPolygon(Points));
}

void TCanvas::Polygon(const TDPointArray& Points) {
  if (SkipDrawing() || Points.empty()) return;
  RequireState(true, true);
  FPainter->drawPolygon(ToQPolygonF(Points));
}

void TCanvas::Polyline(const TDPointArray& Points) {
  if (SkipDrawing() || Points.empty()) return;
  RequireState(true, false);
  FPainter->drawPolyline(ToQPolygonF(Points));
}

void TCanvas::PolyBezier(const TPointArray& Points) {
  // One start point and three points per cubic segment.
  if (SkipDrawing() || Points.size() < 4) return;
  RequireState(true, false);
  QPainterPath path(QPointF(Points[0].X, Points[0].Y));
  for (size_t i = 1; i + 2 < Points.size(); i += 3)
    path.cubicTo(Points[i].X, Points[i].Y, Points[i + 1].X, Points[i + 1].Y, Points[i + 2].X, Points[i + 2].Y);
  FPainter->drawPath(path);
}

void TCanvas::FillRect(const TRect& R) {
  if (R.IsEmpty()) return;
  RequireState(false, true);
  FPainter->fillRect(QRect(R.Left, R.Top, R.Width(), R.Height()), FBrush.ToQBrush());
}

void TCanvas::FrameRect(const TRect& R) {
  if (R.IsEmpty()) return;
  RequireState(false, false);
  const QBrush b = FBrush.ToQBrush();
  const int w = R.Width(), h = R.Height();
  FPainter->fillRect(QRect(R.Left, R.Top, w, 1), b);
  FPainter->fillRect(QRect(R.Left, R.Bottom - 1, w, 1), b);
  FPainter->fillRect(QRect(R.Left, R.Top, 1, h), b);
  FPainter->fillRect(QRect(R.Right - 1, R.Top, 1, h), b);
}

void TCanvas::TextOut(int32_t X, int32_t Y, const QString& Text) {
  RequireState(false, false);
  const QFontMetrics fm(FPainter->font(), FPainter->device());
  if (FBrush.Style() != TBrushStyle::bsClear && FBrush.Color() != clNone)
    FPainter->fillRect(QRect(X, Y, fm.horizontalAdvance(Text), fm.height()), ToQColor(FBrush.Color()));
  FPainter->setPen(ToQColor(FFont.Color()));
  if (FFont.Orientation() != 0) {
    FPainter->save();
    FPainter->translate(X, Y);
    FPainter->rotate(-FFont.Orientation() / 10.0);
    FPainter->drawText(0, fm.ascent(), Text);
    FPainter->restore();
  } else {
    FPainter->drawText(X, Y + fm.ascent(), Text);
  }
  FPenPos = {X + fm.horizontalAdvance(Text), Y};
}

void TCanvas::TextRect(const TRect& R, int32_t X, int32_t Y, const QString& Text) {
  FPainter->save();
  FPainter->setClipRect(QRect(R.Left, R.Top, R.Width(), R.Height()), Qt::IntersectClip);
  TextOut(X, Y, Text);
  FPainter->restore();
  FStateDirty = true;
}

TPoint TCanvas::TextExtent(const QString& Text) {
  RequireState(false, false);
  const QFontMetrics fm(FPainter->font(), FPainter->device());
  return {fm.horizontalAdvance(Text), fm.height()};
}

void TCanvas::Draw(int32_t X, int32_t Y, const QImage& Image) {
  RequireState(false, false);
  FPainter->drawImage(QPoint(X, Y), Image);
}

void TCanvas::StretchDraw(const TRect& R, const QImage& Image) {
  RequireState(false, false);
  // A rectangle given right-to-left or bottom-to-top mirrors the image.
  QRectF target(R.Left, R.Top, R.Width(), R.Height());
  if (target.width() >= 0 && target.height() >= 0) {
    FPainter->drawImage(target, Image);
    return;
  }
  // Reversed edges are exclusive at the far end: (W-1 .. -1) covers the pixels W-1 down to 0.
  const bool mirrorX = target.width() < 0, mirrorY = target.height() < 0;
  const QRectF covered(mirrorX ? R.Right + 1 : R.Left, mirrorY ? R.Bottom + 1 : R.Top, std::abs(R.Width()),
                       std::abs(R.Height()));
  FPainter->drawImage(covered, Image.mirrored(mirrorX, mirrorY));
}

TColor TCanvas::Pixel(int32_t X, int32_t Y) const {
  const QImage* img = Image();
  if (!img || !img->valid(X, Y)) return clNone;
  return FromQColor(img->pixelColor(X, Y));
}

void TCanvas::SetPixel(int32_t X, int32_t Y, TColor Color) {
  QImage* img = Image();
  if (!img || !img->valid(X, Y)) return;
  img->setPixelColor(X, Y, ToQColor(Color));
}

void TCanvas::SetClipRect(const TRect& R) {
  FPainter->setClipRect(QRect(R.Left, R.Top, R.Width(), R.Height()), Qt::ReplaceClip);
}

void TCanvas::IntersectClipRect(const TRect& R) {
  FPainter->setClipRect(QRect(R.Left, R.Top, R.Width(), R.Height()),
                        FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TCanvas::ResetClip() { FPainter->setClipping(false); }

bool TCanvas::HasClip() const { return FPainter->hasClipping(); }

TRect TCanvas::ClipRect() const {
  QRect r;
  if (FPainter->hasClipping()) {
    r = FPainter->clipBoundingRect().toAlignedRect();
  } else if (QPaintDevice* dev = FPainter->device()) {
    r = FPainter->transform().inverted().mapRect(QRect(0, 0, dev->width(), dev->height()));
  }
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QTransform TCanvas::Transform() const { return FPainter->worldTransform(); }

void TCanvas::SetTransform(const QTransform& Transform) { FPainter->setWorldTransform(Transform); }

}  // namespace vorn
