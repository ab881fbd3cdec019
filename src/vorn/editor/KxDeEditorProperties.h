#pragma once
// The property objects that give the editor's feedback its look: Selection (the handles of the
// selected shapes; its PointSize is also the size of the handles hit testing finds), Hottrack
// (the shape under the pointer), SelectionRect (the rubber band), MoveSize (the outlines of a
// move or a resize in progress) and SmartGuides (snapping to other shapes, and the lines that
// show it). Each reports its effective changes through OnChange, on which the editor repaints.

#include "vorn/common/Color.h"
#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Events.h"
#include "vorn/common/Graphics.h"
#include "vorn/common/KxDeSelectionData.h"
#include "vorn/common/Object.h"

#include <cstdint>

namespace vorn {

// A pen for feedback lines: colour (clNone draws nothing), style and mode.
class TKxDeFeedbackPenProps : public TPersistent {
  VORN_OBJECT(TKxDeFeedbackPenProps, TPersistent)
  Q_PROPERTY(int LineColor READ LineColor WRITE SetLineColor)
  Q_PROPERTY(vorn::Graphics::TPenStyle LineStyle READ LineStyle WRITE SetLineStyle)
  Q_PROPERTY(vorn::Graphics::TPenMode LineMode READ LineMode WRITE SetLineMode)

 public:
  TKxDeFeedbackPenProps(TColor Color, TPenStyle Style, TPenMode Mode)
      : FLineColor(Color), FLineStyle(Style), FLineMode(Mode) {}

  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor Value) { Set(FLineColor, Value); }
  TPenStyle LineStyle() const { return FLineStyle; }
  void SetLineStyle(TPenStyle Value) { Set(FLineStyle, Value); }
  TPenMode LineMode() const { return FLineMode; }
  void SetLineMode(TPenMode Value) { Set(FLineMode, Value); }
  // True when the pen draws anything at all.
  bool Draws() const { return FLineColor != clNone && FLineStyle != TPenStyle::psClear; }

  void Assign(const TPersistent* Source) override;

  // Raised after every effective change.
  TNotifyEvent OnChange;

 protected:
  ~TKxDeFeedbackPenProps() override = default;
  template <class T>
  void Set(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void Changed() { CallEvent(OnChange, this); }

 private:
  TColor FLineColor;
  TPenStyle FLineStyle;
  TPenMode FLineMode;
};

// Selection handles: the outline pen plus the colours of the point and control handles.
class TKxDeSelectionProps : public TKxDeFeedbackPenProps {
  VORN_OBJECT(TKxDeSelectionProps, TKxDeFeedbackPenProps)
  Q_PROPERTY(int CtrlInColor READ CtrlInColor WRITE SetCtrlInColor)
  Q_PROPERTY(int CtrlOutColor READ CtrlOutColor WRITE SetCtrlOutColor)
  Q_PROPERTY(int PointInColor READ PointInColor WRITE SetPointInColor)
  Q_PROPERTY(int PointOutColor READ PointOutColor WRITE SetPointOutColor)
  Q_PROPERTY(int RefPointColor READ RefPointColor WRITE SetRefPointColor)
  Q_PROPERTY(int PointSize READ PointSize WRITE SetPointSize)

 public:
  TKxDeSelectionProps();

  TColor CtrlInColor() const { return FCtrlInColor; }
  void SetCtrlInColor(TColor Value) { Set(FCtrlInColor, Value); }
  TColor CtrlOutColor() const { return FCtrlOutColor; }
  void SetCtrlOutColor(TColor Value) { Set(FCtrlOutColor, Value); }
  TColor PointInColor() const { return FPointInColor; }
  void SetPointInColor(TColor Value) { Set(FPointInColor, Value); }
  TColor PointOutColor() const { return FPointOutColor; }
  void SetPointOutColor(TColor Value) { Set(FPointOutColor, Value); }
  TColor RefPointColor() const { return FRefPointColor; }
  void SetRefPointColor(TColor Value) { Set(FRefPointColor, Value); }
  // Handle size in pixels; negative values are stored as 0.
  int32_t PointSize() const { return FPointSize; }
  void SetPointSize(int32_t Value) { Set(FPointSize, Value < 0 ? 0 : Value); }

  void Assign(const TPersistent* Source) override;
  // The record a shape's DrawSelection receives.
  TKxDeSelectionData Data(TKxDeSelectionType Type) const;

 protected:
  ~TKxDeSelectionProps() override = default;
  TKxDeSelectionProps(TColor Line, TPenStyle Style, TColor Handles, TColor CtrlIn, TColor PointIn);

 private:
  TColor FCtrlInColor;
  TColor FCtrlOutColor;
  TColor FPointInColor;
  TColor FPointOutColor;
  TColor FRefPointColor = 0x008000;
  int32_t FPointSize = 5;
};

// The hot shape: no outline, red handles.
class TKxDeHottrackProps : public TKxDeSelectionProps {
  VORN_OBJECT(TKxDeHottrackProps, TKxDeSelectionProps)

 public:
  TKxDeHottrackProps();

 protected:
  ~TKxDeHottrackProps() override = default;
};

// The rubber band: a grey dotted line drawn in not-xor mode.
class TKxDeSelectionRectProperties : public TKxDeFeedbackPenProps {
  VORN_OBJECT(TKxDeSelectionRectProperties, TKxDeFeedbackPenProps)

 public:
  TKxDeSelectionRectProperties() : TKxDeFeedbackPenProps(0x808080, TPenStyle::psDot, TPenMode::pmNotXor) {}

 protected:
  ~TKxDeSelectionRectProperties() override = default;
};

// Outlines of shapes being moved or resized: a magenta dotted line.
class TKxDeMoveSizeProps : public TKxDeFeedbackPenProps {
  VORN_OBJECT(TKxDeMoveSizeProps, TKxDeFeedbackPenProps)

 public:
  TKxDeMoveSizeProps() : TKxDeFeedbackPenProps(0xFF00FF, TPenStyle::psDot, TPenMode::pmCopy) {}
  // The record for a drag outline: this pen, no handles.
  TKxDeSelectionData Data() const;

 protected:
  ~TKxDeMoveSizeProps() override = default;
};

// Smart guides: while the selection is moved, a shape sized by a point or a new shape drawn, the
// edges and centres of what moves snap to the edges and centres of the other shapes in view, of
// the page and to the guides, once they come within Distance screen pixels; a line in this pen
// (a solid pink one) shows each alignment reached. Off by default. Holding Alt during a gesture
// bypasses every snap while smart guides are on, the grid's included.
class TKxDeSmartGuidesProps : public TKxDeFeedbackPenProps {
  VORN_OBJECT(TKxDeSmartGuidesProps, TKxDeFeedbackPenProps)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(int Distance READ Distance WRITE SetDistance)
  Q_PROPERTY(bool SnapEdges READ SnapEdges WRITE SetSnapEdges)
  Q_PROPERTY(bool SnapCenters READ SnapCenters WRITE SetSnapCenters)
  Q_PROPERTY(bool SnapPage READ SnapPage WRITE SetSnapPage)
  Q_PROPERTY(bool SnapGuides READ SnapGuides WRITE SetSnapGuides)

 public:
  TKxDeSmartGuidesProps() : TKxDeFeedbackPenProps(0x6E28F0, TPenStyle::psSolid, TPenMode::pmCopy) {}

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { Set(FEnabled, Value); }
  // Reach of a snap in screen pixels, whatever the zoom; clamped to 1..100.
  int32_t Distance() const { return FDistance; }
  void SetDistance(int32_t Value) { Set(FDistance, Value < 1 ? 1 : Value > 100 ? 100 : Value); }
  // Left and right, top and bottom edges take part (of what moves and of the other shapes).
  bool SnapEdges() const { return FSnapEdges; }
  void SetSnapEdges(bool Value) { Set(FSnapEdges, Value); }
  // Horizontal and vertical centres take part.
  bool SnapCenters() const { return FSnapCenters; }
  void SetSnapCenters(bool Value) { Set(FSnapCenters, Value); }
  // The page's edges and centre lines are targets too.
  bool SnapPage() const { return FSnapPage; }
  void SetSnapPage(bool Value) { Set(FSnapPage, Value); }
  // The guides are targets too, while they are shown.
  bool SnapGuides() const { return FSnapGuides; }
  void SetSnapGuides(bool Value) { Set(FSnapGuides, Value); }

  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeSmartGuidesProps() override = default;

 private:
  bool FEnabled = false;
  int32_t FDistance = 5;
  bool FSnapEdges = true;
  bool FSnapCenters = true;
  bool FSnapPage = true;
  bool FSnapGuides = true;
};

}  // namespace vorn
