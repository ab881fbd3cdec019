#pragma once
// The property objects that give the editor's feedback its look: Selection (the handles of the
// selected shapes; its PointSize is also the size of the handles hit testing finds), Hottrack
// (the shape under the pointer), SelectionRect (the rubber band) and MoveSize (the outlines of a
// move or a resize in progress). Each reports its effective changes through OnChange, on which
// the editor repaints.

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

}  // namespace vorn
