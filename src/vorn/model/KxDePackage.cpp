#include "vorn/model/KxDePackage.h"

#include "vorn/model/KxDeLayer.h"
#include "vorn/model/UpdateBracket_p.h"

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
  for (size_t i = 1; i < FItems.size(); ++i) {
    const TRectF b = FItems[i]->GetRotatedBounds();
    u.Left = std::min(u.Left, b.Left);
    u.Top = std::min(u.Top, b.Top);
    u.Right = std::max(u.Right, b.Right);
    u.Bottom = std::max(u.Bottom, b.Bottom);
  }
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

}  // namespace vorn
