#pragma once
// TKxDeGuideProperties: the pen of the editor's guide lines (Guide) and of its cursor guide
// (CursorGuide): colour (clNone hides the lines), style (psClear hides them too) and mode. Each
// effective change raises OnChange, on which the editor repaints.

#include "vorn/common/Color.h"
#include "vorn/common/Events.h"
#include "vorn/common/Graphics.h"
#include "vorn/common/Object.h"

namespace vorn {

class TCanvas;

class TKxDeGuideProperties : public TPersistent {
  VORN_OBJECT(TKxDeGuideProperties, TPersistent)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(vorn::Graphics::TPenStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(vorn::Graphics::TPenMode Mode READ Mode WRITE SetMode)

 public:
  TKxDeGuideProperties() = default;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);
  // True when lines drawn with these properties show at all.
  bool Draws() const { return FColor != clNone && FStyle != TPenStyle::psClear; }
  // Sets C's pen to these properties, one pixel wide.
  void ApplyTo(TCanvas* C) const;

  void Assign(const TPersistent* Source) override;

  TNotifyEvent OnChange;

 protected:
  ~TKxDeGuideProperties() override = default;

 private:
  void Changed() { CallEvent(OnChange, this); }

  TColor FColor = 0xFF0000;  // blue
  TPenStyle FStyle = TPenStyle::psSolid;
  TPenMode FMode = TPenMode::pmCopy;
};

}  // namespace vorn
