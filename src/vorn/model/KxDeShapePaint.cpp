// The painting side of TKxDeShapeBase: the device pens, the point handles, the picture, the
// painting transform and the clipped painting entry points. The model side is KxDeShapeBase.cpp.

#include "vorn/model/KxDeShapeBase.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/common/PicturePlacement_p.h"
#include "vorn/common/Rounding.h"
#include "vorn/common/Units.h"
#include "vorn/surface/KxDeSurface.h"

#include <QBrush>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vorn {

// ---- Device pens ----------------------------------------------------------------------------------

namespace {

// Dash and gap lengths of the pen styles, in millimetres.
const std::vector<float>* DashTable(TPenStyle Style) {
  static const std::vector<float> solid{1, 0}, dash{3, 3}, dot{1, 2}, dashDot{3, 2, 1, 3}, dashDotDot{3, 2, 1, 2, 1, 3},
      none{0, 0};
  switch (Style) {
    case TPenStyle::psSolid: return &solid;
    case TPenStyle::psDash: return &dash;
    case TPenStyle::psDot: return &dot;
    case TPenStyle::psDashDot: return &dashDot;
    case TPenStyle::psDashDotDot: return &dashDotDot;
    case TPenStyle::psClear: return &none;
    case TPenStyle::psInsideFrame: return &none;
    case TPenStyle::psUserStyle: return &dashDotDot;
    case TPenStyle::psAlternate: return &none;
  }
  return nullptr;
}

// What an opaque intermediate bitmap starts as: the picture's transparent colour, white when that
// names no single colour.
QColor IntermediateBackground(TColor TransparentColor) {
  if (TransparentColor == clNone || TransparentColor == clDefault) return Qt::white;
  return ToQColor(TransparentColor);
}

bool DrawsNothing(const TKxDeShapePen* Pen) {
  return !Pen || Pen->Color() == clNone || Pen->Style() == TPenStyle::psClear;
}

}  // namespace

int32_t TKxDeShapeBase::DevicePenWidth(const TKxDeShapePen* Pen, double Zoom) {
  if (!Pen) return 0;
  return std::max(0, Round32(static_cast<double>(Pen->Width()) * CoordsPixelsPerMMConvertValue * Zoom));
}

QPen TKxDeShapeBase::CreateExtendedPen2(const TKxDeShapePen* Pen, double Zoom) {
  if (DrawsNothing(Pen)) return QPen(Qt::NoPen);
  // Geometric pens join round unless told otherwise.
  return QPen(QBrush(ToQColor(Pen->Color())), DevicePenWidth(Pen, Zoom), Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin);
}

QPen TKxDeShapeBase::CreateExtendedPen(const TKxDeShapePen* Pen, double Zoom, TmekLineShape StartShape, TmekLineShape) {
  if (DrawsNothing(Pen)) return QPen(Qt::NoPen);
  const int32_t width = DevicePenWidth(Pen, Zoom);
  QPen pen(QBrush(ToQColor(Pen->Color())), width, Qt::SolidLine,
           StartShape == TmekLineShape::mekLshRounded ? Qt::RoundCap : Qt::SquareCap, Qt::RoundJoin);
  std::vector<uint32_t> pattern;
  CreateZoomedPenStyle(Pen->Style(), Zoom, pattern);
  // Without a gap the pattern is a solid line (also for the all-zero tables).
  bool gaps = false;
  for (size_t i = 1; i < pattern.size(); i += 2) gaps = gaps || pattern[i] > 0;
  if (gaps) {
    // Qt measures dashes in pen widths (a width below one pixel counts as one) and wants every
    // entry positive: a dash that rounded to nothing stays a dot drawn by the caps.
    const double unit = std::max(width, 1);
    QList<qreal> dashes;
    dashes.reserve(static_cast<qsizetype>(pattern.size()));
    for (uint32_t v : pattern) dashes << std::max(static_cast<double>(v), 1e-3) / unit;
    pen.setDashPattern(dashes);
  }
  return pen;
}

namespace {

// Makes Device the canvas pen, with the colour of Pen and the style Style (psClear when Pen
// draws nothing).
void SetCanvasPen(TCanvas* C, const TKxDeShapePen* Pen, TPenStyle Style, const QPen& Device) {
  if (!C) return;
  TPen* canvasPen = C->Pen();
  if (Pen) {
    canvasPen->SetColor(Pen->Color());
    canvasPen->SetStyle(DrawsNothing(Pen) ? TPenStyle::psClear : Style);
  }
  canvasPen->SetCustom(Device);
}

}  // namespace

void TKxDeShapeBase::CreateExtendedPen2(TCanvas* C, const TKxDeShapePen* Pen, double Zoom) {
  SetCanvasPen(C, Pen, TPenStyle::psInsideFrame, CreateExtendedPen2(Pen, Zoom));
}

void TKxDeShapeBase::CreateExtendedPen(TCanvas* C, const TKxDeShapePen* Pen, double Zoom, TmekLineShape StartShape,
                                       TmekLineShape EndShape) {
  SetCanvasPen(C, Pen, Pen ? Pen->Style() : TPenStyle::psSolid, CreateExtendedPen(Pen, Zoom, StartShape, EndShape));
}

void TKxDeShapeBase::CreateZoomedPenStyle(TPenStyle Style, double Zoom, std::vector<uint32_t>& Pattern) {
  const std::vector<float>* table = DashTable(Style);
  if (!table) return;
  Pattern.clear();
  for (float mm : *table)
    Pattern.push_back(static_cast<uint32_t>(std::max(0, Round32(mm * CoordsPixelsPerMMConvertValue * Zoom))));
}

// ---- Point handles and pictures -------------------------------------------------------------------

void TKxDeShapeBase::DrawPoint(TCanvas* Canvas, const TRect& R, TColor FrameColor, TColor FillColor) {
  if (!Canvas || R.IsEmpty()) return;
  if (FrameColor == clNone && FillColor == clNone) return;
  TPen* pen = Canvas->Pen();
  pen->ClearCustom();
  pen->SetWidth(1);
  pen->SetMode(TPenMode::pmCopy);
  const TColor frame = FrameColor != clNone ? FrameColor : FillColor;
  pen->SetColor(frame);
  pen->SetStyle(frame != clNone ? TPenStyle::psSolid : TPenStyle::psClear);
  TBrush* brush = Canvas->Brush();
  if (FillColor != clNone) {
    brush->SetColor(FillColor);
    brush->SetStyle(TBrushStyle::bsSolid);
  } else {
    brush->SetStyle(TBrushStyle::bsClear);
  }
  Canvas->Rectangle(R);
}

void TKxDeShapeBase::DrawPicture(TCanvas* C, const TRect& R, double Zoom, PmekDeviceCapsInfo DeviceCapsInfo,
                                 bool Disabled, int32_t Angle, bool IgnoreRatio) {
  if (!C || R.IsEmpty()) return;
  if (!HasPicture() && !HasEmptyPicture()) return;
  if (!FPicture) return;  // never made: nothing to draw
  const TKxDePicture* holder = FPicture;
  TOwned<TPicture> disabled;
  const TGraphic* graphic = holder->GetGraphic();
  if (Disabled && graphic) {
    disabled = holder->GetDisabledPicture();
    graphic = disabled->Graphic();
  }
  if (!graphic || graphic->Empty()) return;

  // The picture is placed by its own size; a turned shape turns it with the painting transform.
  const TPoint size = TPicturePlacement::NaturalSize(graphic->Width(), graphic->Height(), Zoom);
  double ratio = 0;
  if (!IgnoreRatio && holder->KeepRatio() && graphic->Width() > 0 && graphic->Height() > 0) {
    ratio = holder->Ratio();
    // For a printer at a quarter or half turn the ratio is taken the other way round. (A CAD
    // drawing, which turns itself, would keep it; no such graphic class is registered.)
    if (DeviceCapsInfo && DeviceCapsInfo->IsGDIPrinting && (Angle == 90 || Angle == 180) && ratio != 0)
      ratio = 1 / ratio;
  }
  const double correctionY = Angle == 0 && DeviceCapsInfo ? DeviceCapsInfo->CorrectionFactorY : 0;
  const TPicturePlacement place = TPicturePlacement::Place(FPictureStyle, R, size, ratio, correctionY);
  const TRect& t = place.Target;
  if (t.IsEmpty()) return;

  const bool smooth = !FNoAntialiasing && !holder->NoAntialiasingAllowed();
  // The picture rendered into Target of Painter.
  auto render = [&](QPainter* Painter, const QRectF& Target) {
    Painter->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    Painter->setRenderHint(QPainter::Antialiasing, smooth);
    graphic->Draw(Painter, Target);
  };
  // Without antialiasing the picture goes through an opaque intermediate bitmap, copied as it is.
  auto intermediate = [&](int32_t W, int32_t H) {
    QImage img(W, H, FNoAntialiasing ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (img.isNull()) return img;
    if (FNoAntialiasing) img.fill(IntermediateBackground(holder->TransparentColor()));
    else img.fill(Qt::transparent);
    QPainter p(&img);
    render(&p, QRectF(0, 0, W, H));
    return img;
  };

  QPainter* painter = C->Painter();
  painter->save();
  painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (FPictureStyle == TKxDeShapePictureStyle::kxdspTiled) {
    // One tile, repeated by a texture fill from the first tile's corner: the same pixels as
    // drawing every tile, in one call.
    const QImage tile = intermediate(t.Width(), t.Height());
    if (!tile.isNull()) {
      painter->setBrushOrigin(t.Left, t.Top);
      painter->fillRect(QRectF(t.Left, t.Top, static_cast<double>(place.Columns * t.Width()),
                               static_cast<double>(place.Rows * t.Height())),
                        QBrush(tile));
    }
  } else if (FNoAntialiasing) {
    const QImage img = intermediate(t.Width(), t.Height());
    if (!img.isNull()) painter->drawImage(QPoint(t.Left, t.Top), img);
  } else {
    render(painter, QRectF(t.Left, t.Top, t.Width(), t.Height()));
  }
  painter->restore();
}

// ---- Painting transform ---------------------------------------------------------------------------

const QTransform& TKxDeShapeBase::InitWSpaceMtx() {
  static const QTransform identity(1, 0, 0, 1, 0, 0);
  return identity;
}

namespace {

void AddTranslation(QTransform& M, const TPointF& P) {
  M.setMatrix(M.m11(), M.m12(), M.m13(), M.m21(), M.m22(), M.m23(), M.m31() + P.X, M.m32() + P.Y, M.m33());
}

}  // namespace

void TKxDeShapeBase::SetWSpaceMtx(const QTransform& Value) {
  // Once made, the shape's own transform is kept: a shape painted turned is painted so again.
  if (FWSpaceMtx) *FWSpaceMtx = Value;
  else if (Value != InitWSpaceMtx()) FWSpaceMtx = std::make_unique<QTransform>(Value);
}

void TKxDeShapeBase::Translate(const TPointF& P) {
  QTransform m = WSpaceMtx();
  AddTranslation(m, P);
  SetWSpaceMtx(m);
}

void TKxDeShapeBase::Combine(const QTransform& M) { SetWSpaceMtx(WSpaceMtx() * M); }

void TKxDeShapeBase::Rotate(const TPointF& RotationCenter, float Angle) {
  const double a = -static_cast<double>(Angle) * PiRadian;
  const double c = std::cos(a);
  const double s = std::sin(a);
  QTransform m = WSpaceMtx();
  AddTranslation(m, TPointF{-RotationCenter.X, -RotationCenter.Y});
  m = m * QTransform(c, s, -s, c, 0, 0);
  AddTranslation(m, RotationCenter);
  SetWSpaceMtx(m);
}

void TKxDeShapeBase::Rotate(float Angle, float OffsetX, float OffsetY, double Zoom) {
  if (!FShapeStyle.Contains(TKxDeShapeStyle::kxssCanRotate)) return;
  if (Angle == 0) {
    Rotate(TPointF{0, 0}, 0);
    return;
  }
  if (Zoom == 0) {
    TKxDeSurface* s = GetSurface();
    if (!s) return;
    Zoom = s->GetZoom();
  }
  TPointF center;
  if (FRotationCenter == TKxDeRotationCenter::kxdroRefPoint) {
    center.X = static_cast<float>(Round(FRefPoint.X * Zoom)) + OffsetX;
    center.Y = static_cast<float>(Round(FRefPoint.Y * Zoom)) + OffsetY;
  } else {
    const TRectF b = GetBounds();
    const auto z = static_cast<float>(Zoom);
    const TRectF d{b.Left * z + OffsetX, b.Top * z + OffsetY, b.Right * z + OffsetX, b.Bottom * z + OffsetY};
    switch (FRotationCenter) {
      case TKxDeRotationCenter::kxdroPtBottomLeft: center = {d.Left, d.Bottom}; break;
      case TKxDeRotationCenter::kxdroPtBottomRight: center = {d.Right, d.Bottom}; break;
      default: center = TKxDeUtils::RotationPt(d, TKxDeRotationCenter::kxdroPtGravity); break;
    }
  }
  Rotate(center, Angle);
}

void TKxDeShapeBase::SetRotationMatrix(TCanvas* C, float OffsetX, float OffsetY, double Zoom, float Angle) {
  if (!C) return;
  SetWSpaceMtx(C->Transform());
  // Unturned, the canvas keeps its transform: setting even the same one again makes the painter
  // prepare its pen and brush anew for the next figure.
  if (Angle == 0 || !FShapeStyle.Contains(TKxDeShapeStyle::kxssCanRotate)) return;
  Rotate(Angle, OffsetX, OffsetY, Zoom);
  C->SetTransform(WSpaceMtx());
}

// ---- Painting -------------------------------------------------------------------------------------

void TKxDeShapeBase::Paint(TCanvas*, float, float, double, int32_t, PmekDeviceCapsInfo) {}

void TKxDeShapeBase::DrawSelection(TCanvas*, int32_t, int32_t, const TKxDeDragPoint&, const TKxDeSelectionData&,
                                   double) {}

void TKxDeShapeBase::PaintIn(TCanvas* C, float X, float Y, double Zoom, const TRectF& R) {
  if (MayShowIn(R)) Paint(C, X, Y, Zoom, 0, nullptr);
}

void TKxDeShapeBase::DrawSelectionIn(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint,
                                     const TKxDeSelectionData& Data, const TRectF& R, double Zoom) {
  if (!R.IsEmpty() && InRect(R)) DrawSelection(C, X, Y, DragPoint, Data, Zoom);
}

void TKxDeShapeBase::UpdateRegion() {}
void TKxDeShapeBase::SetRegion(const QRegion&) {}

}  // namespace vorn
