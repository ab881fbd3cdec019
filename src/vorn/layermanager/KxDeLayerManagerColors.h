#pragma once
// The colours of the layer manager's rows (its Colors property). A colour of clNone falls back to
// the system colour of the same role when the rows are drawn.

#include "vorn/common/Color.h"
#include "vorn/common/Object.h"

namespace vorn {

class TKxDeCustomLayerManager;

class TKxDeLayerManagerColors : public TPersistent {
  VORN_OBJECT(TKxDeLayerManagerColors, TPersistent)
  Q_PROPERTY(int ActiveLayer READ ActiveLayer WRITE SetActiveLayer)
  Q_PROPERTY(int ActiveLayerText READ ActiveLayerText WRITE SetActiveLayerText)
  Q_PROPERTY(int Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int CaptionText READ CaptionText WRITE SetCaptionText)
  Q_PROPERTY(int SelectionIndicator READ SelectionIndicator WRITE SetSelectionIndicator)
  Q_PROPERTY(int Selection READ Selection WRITE SetSelection)
  Q_PROPERTY(int SelectionText READ SelectionText WRITE SetSelectionText)
  Q_PROPERTY(int LockedBrushColor READ LockedBrushColor WRITE SetLockedBrushColor)

 public:
  explicit TKxDeLayerManagerColors(TKxDeCustomLayerManager* AOwner) : FOwner(AOwner) {}

  TKxDeCustomLayerManager* Owner() const { return FOwner; }

  // Background of the active layer's caption row and its text.
  TColor ActiveLayer() const { return FActiveLayer; }
  void SetActiveLayer(TColor Value) { Set(FActiveLayer, Value); }
  TColor ActiveLayerText() const { return FActiveLayerText; }
  void SetActiveLayerText(TColor Value) { Set(FActiveLayerText, Value); }
  // Background of the other caption rows and of the item rows of unlocked layers; caption text.
  TColor Caption() const { return FCaption; }
  void SetCaption(TColor Value) { Set(FCaption, Value); }
  TColor CaptionText() const { return FCaptionText; }
  void SetCaptionText(TColor Value) { Set(FCaptionText, Value); }
  // The square a caption shows while shapes of its layer are selected.
  TColor SelectionIndicator() const { return FSelectionIndicator; }
  void SetSelectionIndicator(TColor Value) { Set(FSelectionIndicator, Value); }
  // Text area of a selected item and its text.
  TColor Selection() const { return FSelection; }
  void SetSelection(TColor Value) { Set(FSelection, Value); }
  TColor SelectionText() const { return FSelectionText; }
  void SetSelectionText(TColor Value) { Set(FSelectionText, Value); }
  // Background of the item rows of a locked layer.
  TColor LockedBrushColor() const { return FLockedBrushColor; }
  void SetLockedBrushColor(TColor Value) { Set(FLockedBrushColor, Value); }

  // Copies every colour but LockedBrushColor, with one change notification.
  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeLayerManagerColors() override = default;
  // Tells the owning list, which repaints.
  virtual void Changed();

 private:
  void Set(TColor& Field, TColor Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }

  TKxDeCustomLayerManager* FOwner;
  TColor FActiveLayer = 11833732;
  TColor FActiveLayerText = clBtnText;
  TColor FCaption = clBtnFace;
  TColor FCaptionText = clBtnText;
  TColor FSelectionIndicator = clLime;
  TColor FSelection = clHighlight;
  TColor FSelectionText = clHighlightText;
  TColor FLockedBrushColor = 0xD3D3D3;
};

}  // namespace vorn
