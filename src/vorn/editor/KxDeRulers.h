#pragma once
// TKxDeRulers: the editor's rulers (its Rulers property), the look they share and their two
// TKxDeRuler objects. Size is the strips' thickness: each strip takes Size + 1 pixels from the
// view while the rulers are visible. Every effective change calls OnChange with whether the
// layout changed (Size while visible, Visible while Size > 0); BeginUpdate/EndUpdate gather
// changes into one call.

#include "vorn/common/Canvas.h"
#include "vorn/common/Color.h"
#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Object.h"
#include "vorn/editor/KxDeRuler.h"

#include <cstdint>
#include <functional>

namespace vorn {

class TKxDeRulers : public TPersistent {
  VORN_OBJECT(TKxDeRulers, TPersistent)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int GuideColor READ GuideColor WRITE SetGuideColor)
  Q_PROPERTY(int MarkColor READ MarkColor WRITE SetMarkColor)
  Q_PROPERTY(vorn::KxDrawingCommons::TKxDeRulerMode Mode READ Mode WRITE SetMode)
  Q_PROPERTY(bool ShowNumbers READ ShowNumbers WRITE SetShowNumbers)
  Q_PROPERTY(quint16 Size READ Size WRITE SetSize)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(vorn::KxDrawingCommons::TKxDeRulersOrigin RulersOrigin READ RulersOrigin WRITE SetRulersOrigin)

 public:
  TKxDeRulers();

  // Background of the strips; clNone leaves them unfilled.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { Set(FColor, Value); }
  // The numbers' font (a change is a change of the rulers).
  TFont* Font() { return &FFont; }
  // The pointer marks; clNone hides them.
  TColor GuideColor() const { return FGuideColor; }
  void SetGuideColor(TColor Value) { Set(FGuideColor, Value); }
  // The ticks; clNone hides them.
  TColor MarkColor() const { return FMarkColor; }
  void SetMarkColor(TColor Value) { Set(FMarkColor, Value); }
  TKxDeRulerMode Mode() const { return FMode; }
  void SetMode(TKxDeRulerMode Value) { Set(FMode, Value); }
  bool ShowNumbers() const { return FShowNumbers; }
  void SetShowNumbers(bool Value) { Set(FShowNumbers, Value); }
  uint16_t Size() const { return FSize; }
  void SetSize(uint16_t Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TKxDeRulersOrigin RulersOrigin() const { return FRulersOrigin; }
  void SetRulersOrigin(TKxDeRulersOrigin Value) { Set(FRulersOrigin, Value); }
  // Visible with a strip to show: the rulers take room from the view.
  bool Showing() const { return FVisible && FSize > 0; }

  TKxDeRuler* Horizontal() const { return FHorizontal.get(); }
  TKxDeRuler* Vertical() const { return FVertical.get(); }

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void Assign(const TPersistent* Source) override;

  // Raised after each effective change outside an update, with whether the layout changed.
  std::function<void(bool LayoutChanged)> OnChange;

 protected:
  ~TKxDeRulers() override = default;
  void Changed(bool LayoutChanged);

 private:
  template <class T>
  void Set(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(false);
  }

  TColor FColor = clBtnFace;
  TFont FFont;
  TColor FGuideColor = 0xFF0000;  // blue
  TColor FMarkColor = clWindowText;
  TKxDeRulerMode FMode = TKxDeRulerMode::kxrmCm;
  bool FShowNumbers = true;
  uint16_t FSize = 25;
  bool FVisible = true;
  TKxDeRulersOrigin FRulersOrigin = TKxDeRulersOrigin::kxrulOrigTopLeft;
  TOwned<TKxDeRuler> FHorizontal;
  TOwned<TKxDeRuler> FVertical;
  int32_t FUpdateCount = 0;
  bool FPending = false;
  bool FPendingLayout = false;
};

}  // namespace vorn
