#include "vorn/model/KxDePackage.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/Rounding.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeShapePen.h"
#include "vorn/model/UpdateBracket_p.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>

namespace vorn {

TKxDePackage::TKxDePackage(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeContainer(ASurface, AOwner) {
  FShapeStyle += TKxDeShapeStyle::kxssUsesPicture;
  FShapeStyle += TKxDeShapeStyle::kxssUsesBrush;
  FShapeStyle -= TKxDeShapeStyle::kxssUsesPen;
}

void TKxDePackage::RecalculateBounds(bool Force) {
  if (!Force && (InUpdate() || InPointUpdate())) return;
  if (FItems.empty()) return;
  TRectF u = FItems.front()->GetRotatedBounds();
  for (size_t i = 1; i < FItems.size(); ++i) u = u.Union(FItems[i]->GetRotatedBounds());
  FBounds = u;
}

void TKxDePackage::MoveBy(float X, float Y) {
  TUpdateBracket update(this);
  if (FItems.empty()) {
    const float w = FBounds.Width() > 0 ? FBounds.Width() : 0.1f;
    const float h = FBounds.Height() > 0 ? FBounds.Height() : 0.1f;
    const TRectF moved{FBounds.Left + X, FBounds.Top + Y, FBounds.Left + X + w, FBounds.Top + Y + h};
    if (moved == FBounds) return;
    FBounds = moved;
    // The rectangle is all an empty package shows: its move is a change to repaint.
    Changed(false);
    return;
  }
  for (size_t i = 0; i < FItems.size(); ++i) FItems[i]->MoveBy(X, Y);
  RecalculateBounds(true);
}

void TKxDePackage::Resize(float NewWidth, float NewHeight) {
  if (!FItems.empty()) {
    ScaleChildren(NewWidth, NewHeight);
    return;
  }
  // An empty package is its rectangle: it takes the new size with its top-left corner kept,
  // within the same limits as a package with children.
  if (InPointUpdate()) return;
  NewWidth = std::max(NewWidth, 0.01f);
  NewHeight = std::max(NewHeight, 0.01f);
  if (NewWidth == FBounds.Width() && NewHeight == FBounds.Height()) return;
  TUpdateBracket update(this);
  FBounds.Right = FBounds.Left + NewWidth;
  FBounds.Bottom = FBounds.Top + NewHeight;
  Changed(false);
}

// ---- Colours and painting -------------------------------------------------------------------------

namespace {

// The colour of what will not be printed.
constexpr TColor kNonPrintingColor = 0xC0C0C0;

// Narrows the clip of a canvas for a scope and puts the previous clip back exactly.
class TClipScope {
 public:
  TClipScope(TCanvas* C, const TRect& R) : FPainter(C->Painter()), FHad(FPainter->hasClipping()) {
    if (FHad) FRegion = FPainter->clipRegion();
    C->IntersectClipRect(R);
  }
  ~TClipScope() {
    if (FHad) FPainter->setClipRegion(FRegion);
    else FPainter->setClipping(false);
  }
  TClipScope(const TClipScope&) = delete;
  TClipScope& operator=(const TClipScope&) = delete;

 private:
  QPainter* FPainter;
  bool FHad;
  QRegion FRegion;
};

}  // namespace

bool TKxDePackage::OnNonPrintingLayer() const {
  const TKxDeLayer* layer = GetLayer();
  return layer && !layer->PrintingAllowed();
}

TColor TKxDePackage::GetBrushColor() const { return OnNonPrintingLayer() ? kNonPrintingColor : Brush()->Color(); }

TBrushStyle TKxDePackage::GetBrushStyle() const {
  return OnNonPrintingLayer() ? TBrushStyle::bsBDiagonal : Brush()->Style();
}

TColor TKxDePackage::GetPenColor() const { return OnNonPrintingLayer() ? kNonPrintingColor : Pen()->Color(); }

void TKxDePackage::PaintFrame(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation,
                              PmekDeviceCapsInfo DeviceCapsInfo) {
  if (!C) return;
  const TRectF b = GetBounds();
  TRect r{Round32(b.Left * Zoom), Round32(b.Top * Zoom), Round32(b.Right * Zoom), Round32(b.Bottom * Zoom)};
  // The frame goes where the page is drawn, the picture as well as the fill.
  const int32_t dx = Round32(X);
  const int32_t dy = Round32(Y);
  r = TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
  const bool point = r.Left == r.Right && r.Top == r.Bottom;
  if (HasBrush() && !point) {
    const TColor color = GetBrushColor();
    const TBrushStyle style = GetBrushStyle();
    C->Brush()->SetColor(color);
    C->Brush()->SetStyle(color == clNone ? TBrushStyle::bsClear : style);
    if (color != clNone && style != TBrushStyle::bsClear) C->FillRect(r);
  }
  if (r.Right > r.Left && r.Bottom > r.Top && HasPicture()) {
    TClipScope clip(C, r);
    DrawPicture(C, r, Zoom, DeviceCapsInfo, false, GDIRotation);
  }
}

void TKxDePackage::Paint(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation,
                         PmekDeviceCapsInfo DeviceCapsInfo) {
  PaintFrame(C, X, Y, Zoom, GDIRotation, DeviceCapsInfo);
  TKxDeContainer::Paint(C, X, Y, Zoom, GDIRotation, DeviceCapsInfo);
}

void TKxDePackage::PaintIn(TCanvas* C, float X, float Y, double Zoom, const TRectF& R) {
  if (!C || R.IsEmpty()) return;
  if (GetBounds().Intersects(R)) {
    const int32_t dx = Round32(X);
    const int32_t dy = Round32(Y);
    TClipScope clip(C, TRect{Round32(R.Left * Zoom) + dx, Round32(R.Top * Zoom) + dy, Round32(R.Right * Zoom) + dx,
                             Round32(R.Bottom * Zoom) + dy});
    PaintFrame(C, X, Y, Zoom, 0, nullptr);
  }
  TKxDeContainer::PaintIn(C, X, Y, Zoom, R);
}

}  // namespace vorn
