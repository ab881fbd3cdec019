#pragma once
// TKxDeRuler: one of the editor's two rulers (the horizontal one along the top edge, the vertical
// one along the left edge). Its owner, TKxDeRulers, holds the look both share; the ruler holds
// where its zero lies in its strip (Offset) and where the pointer mark is (Position), both in
// pixels from the strip's left (top) edge.
//
// Graduation. Distances are counted in base units: 0.1 mm in centimetres, 0.01 inch in inches,
// 10 pixels... in pixels (where the ruler shows only its zero). With u pixels per base unit on
// screen, a tick falls every k base units: k = 50 while u <= 1, k = 5 above, k = 1 above 4.4 (a
// fine ruler). Every tenth tick is long, every second one medium (not on a fine ruler), and each
// centimetre or inch gets its number when the numbers fit in it.

#include "vorn/common/DrawingCommons.h"
#include "vorn/common/HintInfo.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"

#include <cstdint>

namespace vorn {

class TCanvas;
class TKxDeRulers;

class TKxDeRuler : public TPersistent {
  VORN_OBJECT(TKxDeRuler, TPersistent)

 public:
  TKxDeRuler(TKxDeRulers* Owner, TKxDeRulerType RulerType) : FOwner(Owner), FRulerType(RulerType) {}

  TKxDeRulers* Owner() const { return FOwner; }
  int32_t Offset() const { return FOffset; }
  void SetOffset(int32_t Value) { FOffset = Value; }
  int32_t Position() const { return FPosition; }
  void SetPosition(int32_t Value) { FPosition = Value; }
  TKxDeRulerType RulerType() const { return FRulerType; }
  void SetRulerType(TKxDeRulerType Value) { FRulerType = Value; }

  // Pixels for V base units at zoom 100 (the owner's Mode chooses the unit).
  double GetStep(double V) const;
  // Draws the ruler into R at zoom factor Zoom; nothing for an empty R or without owner.
  virtual void Paint(TCanvas* C, const TRect& R, double Zoom);
  // The rich hint of the orientation icon in the rulers' corner.
  void GetMekOfficeHint(TmekHintInfo& HintInfo) const;

  // The minor division in base units at U pixels per base unit (0 when nothing is graduated).
  static int32_t Division(double U);

 protected:
  ~TKxDeRuler() override = default;

 private:
  // The graduation, numbers and pointer mark at U pixels per base unit.
  void DrawRuler(TCanvas* C, const TRect& R, double U);
  // Calls Do(i, position) for each multiple i != 0 of Step pixels from Zero that lands in
  // Low..High, rounded to whole pixels.
  template <class F>
  static void ForEachStep(int32_t Zero, int32_t Low, int32_t High, double Step, int32_t Ahead, F&& Do);

  TKxDeRulers* FOwner;
  int32_t FOffset = 0;
  int32_t FPosition = -1;
  TKxDeRulerType FRulerType;
};

}  // namespace vorn
