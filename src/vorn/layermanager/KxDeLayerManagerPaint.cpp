// The layer manager's rows on screen: the walk from the top row down that painting and hit
// testing share, the caption and item rows, and the thumbnails of the item rows.

#include "vorn/common/Canvas.h"
#include "vorn/common/ResStrs.h"
#include "vorn/common/Rounding.h"
#include "vorn/layermanager/KxDeLayerManager.h"
#include "vorn/layermanager/LayerManagerGlyphs_p.h"
#include "vorn/model/KxDeGroup.h"

#include <QPainter>

#include <algorithm>

namespace vorn {
namespace {

// Where the cells of a row start, from the row's left edge.
constexpr int32_t kCell = 20;
constexpr int32_t kVisibleCell = 20;
constexpr int32_t kLockCell = 40;
constexpr int32_t kTextArea = 61;
constexpr int32_t kPreviewLeft = 69;

QColor Resolve(TColor Color, TColor Fallback) { return ToQColor(Color == clNone ? Fallback : Color); }

void VLine(QPainter& P, TColor Color, int32_t X, int32_t Top, int32_t Bottom) {
  P.fillRect(X, Top, 1, Bottom - Top, ToQColor(Color));
}

void HLine(QPainter& P, TColor Color, int32_t Left, int32_t Right, int32_t Y) {
  P.fillRect(Left, Y, Right - Left, 1, ToQColor(Color));
}

// An empty name shows as Prefix and the shape's place in its container.
QString RowName(const TKxDeShapeBase* Shape, const QString& Prefix, int32_t Index) {
  const QString name = Shape->Name().trimmed();
  return name.isEmpty() ? Prefix + QString::number(Index) : name;
}

QString KindSuffix(TKxDeKindOfLayer Kind) {
  switch (Kind) {
    case TKxDeKindOfLayer::kxdekol200: return QStringLiteral(" (200dpi)");
    case TKxDeKindOfLayer::kxdekol300: return QStringLiteral(" (300dpi)");
    case TKxDeKindOfLayer::kxdekol600: return QStringLiteral(" (600dpi)");
    case TKxDeKindOfLayer::kxdekolLaser: return QStringLiteral(" (Laser)");
    default: return {};
  }
}

}  // namespace

void TKxDeCustomLayerManager::WalkRows(const std::function<bool(const TRow&)>& Visit) const {
  const TRect client = GetClientRect();
  if (client.IsEmpty()) return;
  const int32_t itemHeight = GetPreviewHeight();
  int32_t y = client.Top;
  int32_t rank = 0;
  auto row = [&](TRowKind Kind, int32_t Layer, int32_t Shape, int32_t Height) {
    const TRow r{Kind, Layer, Shape, TRect{client.Left, y, client.Right, y + Height}};
    y += Height;
    return Visit(r) || y >= client.Bottom;
  };
  for (int32_t li = 0; li < ListLayerCount(); ++li) {
    const TKxDeListLayer& l = *FLayers[static_cast<size_t>(li)];
    const int32_t items = l.Expanded() ? l.GetShapeCount() : 0;
    // A layer whose rows all lie above the top still leaves its separator.
    if (rank + 1 + items <= FTopPosition) {
      rank += 1 + items;
      if (row(TRowKind::Separator, li, -1, 1)) return;
      continue;
    }
    if (rank >= FTopPosition && row(TRowKind::Caption, li, -1, GetCaptionHeight())) return;
    ++rank;
    const int32_t first = std::max(0, FTopPosition - rank);
    for (int32_t i = first; i < items; ++i)
      if (row(TRowKind::Item, li, i, itemHeight)) return;
    rank += items;
    if (row(TRowKind::Separator, li, -1, 1)) return;
  }
}

TKxDeListHitInfo TKxDeCustomLayerManager::HitInfo(const TPoint& Point) const {
  TKxDeListHitInfo hit;
  hit.Pos = Point;
  if (!Following() || FLayers.empty() || !GetClientRect().Contains(Point)) return hit;
  WalkRows([&](const TRow& Row) {
    if (Point.Y < Row.Rect.Top || Point.Y >= Row.Rect.Bottom) return false;
    if (Row.Kind == TRowKind::Separator) return true;
    hit.Layer = Row.Layer;
    const int32_t x = Point.X - Row.Rect.Left;
    int32_t partLeft = 0;
    using enum TKxDeListHitPart;
    if (Row.Kind == TRowKind::Caption) {
      const int32_t y = Point.Y - Row.Rect.Top;
      if (x >= 5 && x < 14 && y >= 4 && y < 13) hit.Part = kxdlhLayerExpandButton, partLeft = 5;
      else if (x >= kVisibleCell && x < kLockCell) hit.Part = kxdlhLayerHideButton, partLeft = kVisibleCell;
      else if (x >= kLockCell && x < 60) hit.Part = kxdlhLayerLockButton, partLeft = kLockCell;
      else if (x >= 60) hit.Part = kxdlhLayerCaption, partLeft = 60;
    } else {
      hit.Shape = Row.Shape;
      if (x >= kVisibleCell && x < kLockCell) hit.Part = kxdlhItemHideButton, partLeft = kVisibleCell;
      else if (x >= kLockCell && x < 60) hit.Part = kxdlhItemLockButton, partLeft = kLockCell;
      else if (x >= 60) hit.Part = kxdlhItem, partLeft = 60;
    }
    if (hit.Part != kxdlhNone) hit.PartRect = TRect{Row.Rect.Left + partLeft, Row.Rect.Top, Row.Rect.Right, Row.Rect.Bottom};
    return true;
  });
  return hit;
}

QString TKxDeCustomLayerManager::GetRowText(const TKxDeListLayer* ListLayer) const {
  const TKxDeLayer* layer = ListLayer->Layer();
  return RowName(layer, rsLayerManagerLayer(), layer->GetIndex()) + KindSuffix(layer->KindOfLayer());
}

QString TKxDeCustomLayerManager::GetRowText(const TKxDeListShape* Item) const {
  const TKxDeShapeBase* shape = Item->Shape();
  const TKxDeContainer* parent = shape->Owner();
  // The row's index in the layer is its place in the container, unless unlisted shapes precede it.
  const int32_t row = static_cast<int32_t>(Item - Item->ListLayer()->GetShape(0));
  const int32_t index = parent && parent->GetItem(row) == shape ? row : shape->GetIndex();
  QString text = RowName(shape, rsLayerManagerShape(), index);
  if (FShowItemValue && !dynamic_cast<const TKxDeGroup*>(shape)) text += QStringLiteral(": ") + shape->GetText();
  return text;
}

// ---- Painting --------------------------------------------------------------------------------------

void TKxDeCustomLayerManager::Paint(TCanvas* C) {
  TKxDeCustomScrollControl::Paint(C);
  if (!Following() || FLayers.empty()) return;
  FGlyphs->LoadBitmaps(devicePixelRatioF());
  QPainter& p = *C->Painter();
  p.save();
  p.setFont(font());
  WalkRows([&](const TRow& Row) {
    switch (Row.Kind) {
      case TRowKind::Caption: PaintCaption(p, FLayers[static_cast<size_t>(Row.Layer)].get(), Row.Rect); break;
      case TRowKind::Item: PaintItem(p, *FLayers[static_cast<size_t>(Row.Layer)]->GetShape(Row.Shape), Row.Rect); break;
      case TRowKind::Separator:
        HLine(p, clBtnShadow, Row.Rect.Left, Row.Rect.Right, Row.Rect.Top - 1);
        HLine(p, clBtnHighlight, Row.Rect.Left, Row.Rect.Right, Row.Rect.Top);
        break;
    }
    return false;
  });
  p.restore();
}

void TKxDeCustomLayerManager::DrawGlyph(QPainter& P, TLayerGlyph Which, int32_t X, const TRect& Row) {
  if (!FGlyphs->Has(Which)) return;
  const int32_t w = FGlyphs->Width(Which);
  const int32_t h = FGlyphs->Height(Which);
  P.drawImage(QPoint(X + (kCell - w) / 2, Row.Top + (Row.Height() - h) / 2), FGlyphs->Get(Which));
}

void TKxDeCustomLayerManager::DrawRowText(QPainter& P, const QString& Text, const TRect& R, TColor Color,
                                          bool Italic) {
  if (R.IsEmpty()) return;
  QFont f = font();
  f.setItalic(Italic);
  P.setFont(f);
  P.setPen(ToQColor(Color));
  const QRect box(R.Left, R.Top, R.Width(), R.Height());
  P.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
             QFontMetrics(f).elidedText(Text, Qt::ElideRight, box.width()));
}

void TKxDeCustomLayerManager::PaintCaption(QPainter& P, const TKxDeListLayer* ListLayer, const TRect& R) {
  const TKxDeLayer* layer = ListLayer->Layer();
  const bool active = FEditor->ActiveLayer() == layer;
  const QColor back = active ? Resolve(FColors->ActiveLayer(), clHighlight) : Resolve(FColors->Caption(), clBtnFace);
  P.fillRect(R.Left, R.Top, R.Width(), R.Height(), back);
  const int32_t x0 = R.Left;
  DrawGlyph(P, ListLayer->Expanded() ? TLayerGlyph::Collapse : TLayerGlyph::Expand, x0, R);
  VLine(P, clBtnShadow, x0 + 20, R.Top, R.Bottom);
  if (!layer->PrintingAllowed()) DrawGlyph(P, TLayerGlyph::NoPrint, x0 + kVisibleCell, R);
  else if (layer->Visible()) DrawGlyph(P, TLayerGlyph::Visible, x0 + kVisibleCell, R);
  VLine(P, clBtnShadow, x0 + 40, R.Top + 2, R.Bottom - 2);
  VLine(P, clBtnHighlight, x0 + 41, R.Top + 2, R.Bottom - 2);
  if (layer->Locked()) DrawGlyph(P, TLayerGlyph::Lock, x0 + kLockCell, R);
  else if (active) DrawGlyph(P, TLayerGlyph::Active, x0 + kLockCell, R);
  VLine(P, clBtnShadow, x0 + 60, R.Top, R.Bottom);
  if (active) P.fillRect(x0 + kTextArea, R.Top, R.Right - x0 - kTextArea, R.Height(), back);

  int32_t x = x0 + kTextArea;
  DrawGlyph(P, TLayerGlyph::Layer, x, R);
  if (layer->KindOfLayer() != TKxDeKindOfLayer::kxdekoAll && FGlyphs->Has(TLayerGlyph::Printer)) {
    x += 16;
    DrawGlyph(P, TLayerGlyph::Printer, x, R);
  }
  x += 22;
  const int32_t textRight = FShowSelectionIndicator ? R.Right - 20 : R.Right;
  DrawRowText(P, GetRowText(ListLayer), TRect{x, R.Top, textRight, R.Bottom},
              active ? (FColors->ActiveLayerText() == clNone ? clHighlightText : FColors->ActiveLayerText())
                     : (FColors->CaptionText() == clNone ? clBtnText : FColors->CaptionText()),
              !layer->PrintingAllowed());

  if (FShowSelectionIndicator) {
    const int32_t cell = R.Right - 20;
    VLine(P, clBtnShadow, cell, R.Top, R.Bottom);
    if (LayerHasSelection(ListLayer)) {
      P.setPen(ToQColor(clWindowFrame));
      P.setBrush(Resolve(FColors->SelectionIndicator(), clLime));
      P.drawRect(QRectF(cell + (20 - 8) / 2 + 0.5, R.Top + (R.Height() - 8) / 2 + 0.5, 7, 7));
      P.setBrush(Qt::NoBrush);
    }
  }
  HLine(P, clBtnHighlight, R.Left, R.Right, R.Top);
  HLine(P, clBtnShadow, x0 + 20, R.Right, R.Bottom - 1);
}

bool TKxDeCustomLayerManager::LayerHasSelection(const TKxDeListLayer* ListLayer) const {
  // Whichever is shorter is searched: the selection for shapes of the layer, or the rows for
  // selected shapes.
  const std::vector<TKxDeShapeBase*>& selected = FEditor->Selections();
  if (selected.size() <= static_cast<size_t>(ListLayer->GetShapeCount())) {
    return std::any_of(selected.begin(), selected.end(), [&](const TKxDeShapeBase* S) {
      return S->Owner() == ListLayer->Layer() && !HiddenFromLayerManager(S);
    });
  }
  for (int32_t i = 0; i < ListLayer->GetShapeCount(); ++i)
    if (FEditor->IsSelected(ListLayer->GetShape(i)->Shape())) return true;
  return false;
}

void TKxDeCustomLayerManager::PaintItem(QPainter& P, const TKxDeListShape& Item, const TRect& R) {
  TKxDeShapeBase* shape = Item.Shape();
  const TKxDeLayer* layer = Item.ListLayer()->Layer();
  const bool layerLocked = layer->Locked();
  const QColor back = layerLocked ? ToQColor(FColors->LockedBrushColor()) : Resolve(FColors->Caption(), clBtnFace);
  P.fillRect(R.Left, R.Top, R.Width(), R.Height(), back);
  const int32_t x0 = R.Left;
  VLine(P, clBtnShadow, x0 + 20, R.Top, R.Bottom);

  bool italic = false;
  const TKxDeContainer* parent = shape->Owner();
  if (parent && !parent->Visible()) {
    if (shape->Visible()) DrawGlyph(P, TLayerGlyph::InvisibleLayer, x0 + kVisibleCell, R);
  } else if (shape->Visible()) {
    bool shownInvisible = false;
    if (FShowInvisibleObjectState && OnInvisibleCheck) OnInvisibleCheck(shape, shownInvisible);
    italic = shownInvisible;
    DrawGlyph(P, shownInvisible ? TLayerGlyph::Invisible : TLayerGlyph::Visible, x0 + kVisibleCell, R);
  }
  VLine(P, clBtnShadow, x0 + 40, R.Top + 2, R.Bottom - 2);
  VLine(P, clBtnHighlight, x0 + 41, R.Top + 2, R.Bottom - 2);
  if (shape->Locked()) DrawGlyph(P, TLayerGlyph::Lock, x0 + kLockCell, R);
  else if (layerLocked) DrawGlyph(P, TLayerGlyph::LayerLock, x0 + kLockCell, R);
  VLine(P, clBtnShadow, x0 + 60, R.Top, R.Bottom);

  const bool selected = FEditor->IsSelected(shape);
  if (selected)
    P.fillRect(x0 + kTextArea, R.Top, R.Right - x0 - kTextArea, R.Height(), Resolve(FColors->Selection(), clHighlight));
  else if (layerLocked)
    P.fillRect(x0 + kTextArea, R.Top, R.Right - x0 - kTextArea, R.Height(), ToQColor(FColors->LockedBrushColor()));

  int32_t x = x0 + kTextArea;
  if (FShowPreview && !shape->ShapeStyle().Contains(TKxDeShapeStyle::kxssNoPreview)) {
    const int32_t ph = R.Height() - 5;
    const int32_t lw = FEditor->Layer()->Width();
    const int32_t lh = FEditor->Layer()->Height();
    const int32_t pw = lh > 0 ? Round32(static_cast<double>(lw) / lh * ph) : 0;
    const TRect preview{x0 + kPreviewLeft, R.Top + 2, x0 + kPreviewLeft + pw, R.Top + 2 + ph};
    FHorzExtent = preview.Right + preview.Left;
    if (!preview.IsEmpty()) {
      PaintPreview(P, shape, preview);
      x = preview.Right;
    }
  }
  x += 4;

  if (const auto* owner = dynamic_cast<const TKxDeLayer*>(parent); owner && !owner->PrintingAllowed()) italic = true;
  DrawRowText(P, GetRowText(&Item), TRect{x, R.Top, R.Right, R.Bottom},
              selected ? (FColors->SelectionText() == clNone ? clHighlightText : FColors->SelectionText())
                       : FromQColor(palette().color(QPalette::WindowText)),
              italic);
  HLine(P, clBtnShadow, x0 + 20, x0 + 60, R.Bottom - 1);
}

void TKxDeCustomLayerManager::PaintPreview(QPainter& P, TKxDeShapeBase* Shape, const TRect& R) {
  const qreal ratio = devicePixelRatioF();
  const int32_t w = R.Width();
  const int32_t h = R.Height();
  const QSize device(static_cast<int>(std::ceil(w * ratio)), static_cast<int>(std::ceil(h * ratio)));
  if (FPreview.size() != device || FPreview.devicePixelRatio() != ratio) {
    FPreview = QImage(device, QImage::Format_RGB32);
    FPreview.setDevicePixelRatio(ratio);
  }
  FPreview.fill(Qt::white);
  {
    TCanvas canvas(&FPreview);
    QPainter& p = *canvas.Painter();
    // A checkerboard of 4-pixel cells shows the page the shape lies on.
    const QColor cell(0xDF, 0xDF, 0xDF);
    const int32_t columns = Round32(w / 4.0);
    const int32_t rows = Round32(h / 4.0);
    for (int32_t i = 0; i <= columns; ++i)
      for (int32_t j = 0; j <= rows; ++j)
        if ((i + j) % 2 == 1 && 4 * i < w && 4 * j < h) p.fillRect(4 * i, 4 * j, 4, 4, cell);
    if (Shape->GetDataBehavior() != TmekDataBehavior::mekdbNone && FGlyphs->Has(TLayerGlyph::Link))
      p.drawImage(QPoint(w - FGlyphs->Width(TLayerGlyph::Link), h - FGlyphs->Height(TLayerGlyph::Link)),
                  FGlyphs->Get(TLayerGlyph::Link));
    bool verified = false;
    if (OnVerifierCheck) OnVerifierCheck(Shape, verified);
    if (verified && FGlyphs->Has(TLayerGlyph::Verifier))
      p.drawImage(QPoint(1, h - FGlyphs->Height(TLayerGlyph::Verifier)), FGlyphs->Get(TLayerGlyph::Verifier));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const int32_t lw = FEditor->Layer()->Width();
    Shape->Paint(&canvas, 0, 0, lw > 0 ? static_cast<double>(w) / lw : 1.0, 0, nullptr);
    p.restore();
    p.setPen(QPen(ToQColor(clBtnHighlight), 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
  }
  P.drawImage(QPoint(R.Left, R.Top), FPreview);
}

}  // namespace vorn
