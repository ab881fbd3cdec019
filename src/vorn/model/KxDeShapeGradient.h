#pragma once
// The gradient fill of a shape. Its begin colour is the shape's colour. The fill is rendered
// into a small pattern image once per change and stretched over the target when painted.

#include "vorn/common/Events.h"
#include "vorn/common/GradientPattern.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"
#include "vorn/common/XmlUtils.h"
#include "vorn/model/KxDeStyleRecords.h"

#include <QImage>

namespace vorn {

class TKxDeShapeBase;
class TCanvas;

class TKxDeShapeGradient : public TPersistent {
  VORN_OBJECT(TKxDeShapeGradient, TPersistent)
  Q_PROPERTY(int ColorBegin READ GetColorBegin WRITE SetColorBegin)
  Q_PROPERTY(int ColorEnd READ ColorEnd WRITE SetColorEnd)
  Q_PROPERTY(vorn::KxDrawingCommons::TKxDeShapeGradientStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(int Shift READ Shift WRITE SetShift)
  Q_PROPERTY(int Rotation READ Rotation WRITE SetRotation)
  Q_PROPERTY(bool Reverse READ Reverse WRITE SetReverse)
  Q_CLASSINFO("TypeName.ColorBegin", "TColor")
  Q_CLASSINFO("TypeName.ColorEnd", "TColor")
  Q_CLASSINFO("Category.ColorBegin", "Appearance")
  Q_CLASSINFO("Category.ColorEnd", "Appearance")
  Q_CLASSINFO("Category.Style", "Appearance")
  Q_CLASSINFO("Category.Reverse", "Appearance")
  Q_CLASSINFO("Category.Shift", "Layout")
  Q_CLASSINFO("Category.Rotation", "Layout")

 public:
  explicit TKxDeShapeGradient(TKxDeShapeBase* AOwner = nullptr);

  // The owner shape's colour while there is an owner.
  TColor GetColorBegin() const;
  void SetColorBegin(TColor Value);
  TColor ColorEnd() const { return FColorEnd; }
  void SetColorEnd(TColor Value);
  TKxDeShapeGradientStyle Style() const { return FStyle; }
  void SetStyle(TKxDeShapeGradientStyle Value);
  // Both clamped to -100 ... 100.
  int32_t Shift() const { return FShift; }
  void SetShift(int32_t Value);
  int32_t Rotation() const { return FRotation; }
  void SetRotation(int32_t Value);
  bool Reverse() const { return FReverse; }
  void SetReverse(bool Value);
  // Shows the silver and white transparency checker colours instead of the end colours.
  bool Invisible() const { return FInvisible; }
  void SetInvisible(bool Value);

  TKxDeShapeBase* Owner() const { return FOwner; }
  void SetOwner(TKxDeShapeBase* Value) { FOwner = Value; }

  // The shape colour changed: the pattern is rebuilt.
  void ShapeColorChanged();
  void BeginUpdate() { ++FUpdateCount; }
  // Rebuilds the pattern when the outermost bracket closes.
  void EndUpdate();
  void InvalidatePattern() { UpdatePattern(); }
  // Rebuilds the pattern if a change asked for it.
  virtual void UpdatePattern();
  // The current pattern image (rebuilt first when needed); false while a rebuild is running or
  // inside an update bracket.
  bool CopyPatternTo(QImage& Bitmap);
  QImage Pattern() const { return GradientPattern(FPatternParams); }
  bool NeedsUpdate() const { return FNeedsUpdate; }
  // Stretches the pattern over R; nothing for kxdgsNone, clNone colours or an empty R.
  void Paint(TCanvas* Canvas, const TRect& R);

  void Assign(const TPersistent* Source) override;
  void AssignRec(const TKxDeShapeGradienthRec& Rec);
  TKxDeShapeGradienthRec ToRec() const;

  virtual void SaveToXML(TXmlNode Node) const;
  virtual void LoadFromXML(TXmlNode Node);

  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  void Changing() { if (OnChanging) OnChanging(this); }
  void Changed();

 private:
  TColor FColorBegin = 0x00FF00;
  TColor FColorEnd = 0xFFFFFF;
  TKxDeShapeGradientStyle FStyle = TKxDeShapeGradientStyle::kxdgsNone;
  int32_t FShift = 0;
  int32_t FRotation = 0;
  bool FReverse = false;
  // What the last rebuild settled; the pixels come from the shared pattern cache when painted.
  TKxDeGradientPatternParams FPatternParams;
  int32_t FUpdateCount = 0;
  bool FDirty = false;
  bool FNeedsUpdate = true;
  TKxDeShapeBase* FOwner;
  bool FInvisible = false;
};

}  // namespace vorn
