#pragma once
// Colour-splitting settings that layers keep for shapes that split their pictures by colour.
// The engine keeps, copies and stores them; host shapes interpret them.

#include "vorn/common/Color.h"
#include "vorn/common/Events.h"
#include "vorn/common/Object.h"

#include <cstdint>

namespace vorn {

// Colour-splitting settings as published properties.
class TmekColorManagementProperties : public TPersistent {
  VORN_OBJECT(TmekColorManagementProperties, TPersistent)
  Q_PROPERTY(int SplitColor READ SplitColor WRITE SetSplitColor)
  Q_PROPERTY(int PositiveSaturationTolerance READ PositiveSaturationTolerance WRITE SetPositiveSaturationTolerance)
  Q_PROPERTY(int PositiveHueTolerance READ PositiveHueTolerance WRITE SetPositiveHueTolerance)
  Q_PROPERTY(int NegativeSaturationTolerance READ NegativeSaturationTolerance WRITE SetNegativeSaturationTolerance)
  Q_PROPERTY(int NegativeHueTolerance READ NegativeHueTolerance WRITE SetNegativeHueTolerance)
  Q_PROPERTY(bool AutoLevels READ AutoLevels WRITE SetAutoLevels)
  Q_PROPERTY(float GammaCorrection READ GammaCorrection WRITE SetGammaCorrection)
  Q_PROPERTY(bool ApplyGammaCorrection READ ApplyGammaCorrection WRITE SetApplyGammaCorrection)
  Q_PROPERTY(bool FullPictureOnColorHead READ FullPictureOnColorHead WRITE SetFullPictureOnColorHead)
  Q_CLASSINFO("TypeName.SplitColor", "TColor")
  Q_CLASSINFO("Category.SplitColor", "Colors")
  Q_CLASSINFO("Category.PositiveSaturationTolerance", "Tolerances")
  Q_CLASSINFO("Category.PositiveHueTolerance", "Tolerances")
  Q_CLASSINFO("Category.NegativeSaturationTolerance", "Tolerances")
  Q_CLASSINFO("Category.NegativeHueTolerance", "Tolerances")
  Q_CLASSINFO("Category.AutoLevels", "Correction")
  Q_CLASSINFO("Category.GammaCorrection", "Correction")
  Q_CLASSINFO("Category.ApplyGammaCorrection", "Correction")
  Q_CLASSINFO("Category.FullPictureOnColorHead", "Correction")

 public:
  explicit TmekColorManagementProperties(TPersistent* AOwner = nullptr) : FOwner(AOwner) {}

  TPersistent* Owner() const { return FOwner; }
  TColor SplitColor() const { return FSplitColor; }
  void SetSplitColor(TColor Value) { FSplitColor = Value; }
  int32_t PositiveSaturationTolerance() const { return FPositiveSaturationTolerance; }
  void SetPositiveSaturationTolerance(int32_t Value) { FPositiveSaturationTolerance = Clamp(Value, 0, 100); }
  int32_t PositiveHueTolerance() const { return FPositiveHueTolerance; }
  void SetPositiveHueTolerance(int32_t Value) { FPositiveHueTolerance = Clamp(Value, 0, 100); }
  int32_t NegativeSaturationTolerance() const { return FNegativeSaturationTolerance; }
  void SetNegativeSaturationTolerance(int32_t Value) { FNegativeSaturationTolerance = Clamp(Value, -100, 0); }
  int32_t NegativeHueTolerance() const { return FNegativeHueTolerance; }
  void SetNegativeHueTolerance(int32_t Value) { FNegativeHueTolerance = Clamp(Value, -100, 0); }
  bool AutoLevels() const { return FAutoLevels; }
  void SetAutoLevels(bool Value) { FAutoLevels = Value; }
  float GammaCorrection() const { return FGammaCorrection; }
  void SetGammaCorrection(float Value) { FGammaCorrection = Value; }
  bool ApplyGammaCorrection() const { return FApplyGammaCorrection; }
  void SetApplyGammaCorrection(bool Value) { FApplyGammaCorrection = Value; }
  bool FullPictureOnColorHead() const { return FFullPictureOnColorHead; }
  void SetFullPictureOnColorHead(bool Value) { FFullPictureOnColorHead = Value; }

  void Assign(const TPersistent* Source) override;

  // The nine settings as value elements; each one read defaults to the current value and is
  // stored without announcement (tolerances clamped as their setters clamp).
  void SaveToXML(TXmlNode Node) const;
  void LoadFromXML(TXmlNode Node);

 private:
  static int32_t Clamp(int32_t V, int32_t Lo, int32_t Hi) { return V < Lo ? Lo : (V > Hi ? Hi : V); }

  TPersistent* FOwner;
  TColor FSplitColor = 255;
  int32_t FPositiveSaturationTolerance = 10;
  int32_t FPositiveHueTolerance = 10;
  int32_t FNegativeSaturationTolerance = -10;
  int32_t FNegativeHueTolerance = -10;
  bool FAutoLevels = false;
  float FGammaCorrection = 0.5f;
  bool FApplyGammaCorrection = true;
  bool FFullPictureOnColorHead = false;
};

}  // namespace vorn
