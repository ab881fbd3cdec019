#pragma once
// TKxDeKnifeTool: a cutting line from the first point laid down to the latest one. Beyond the
// second point, each new point moves the line's end, so a drag shows the line following the
// pointer. Cutting itself is left to descendants (Cut, Process).

#include "vorn/editor/KxDeToolBase.h"

namespace vorn {

class TKxDeShapeBase;

class TKxDeKnifeTool : public TKxDeToolBase {
  VORN_OBJECT(TKxDeKnifeTool, TKxDeToolBase)

 public:
  using TKxDeToolBase::TKxDeToolBase;

  // Appends P while the tool holds fewer (or more) than two points; with two, P becomes the end.
  void Add(const TPointF& P) override;
  // The points as one polyline with the pen of Data (nothing with a clear or colourless pen).
  void Paint(TCanvas* Canvas, int32_t X, int32_t Y, const TKxDeToolPaintData& Data, double Zoom) override;
  // Cuts Shape along the line; nothing here.
  virtual void Cut(TKxDeShapeBase* Shape);
  void Process() override;

 protected:
  ~TKxDeKnifeTool() override = default;
};

}  // namespace vorn
