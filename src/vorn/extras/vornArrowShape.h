#pragma once
// TvornArrowShape: a light control that draws one straight arrow across its client area — a
// line through the control at a given angle with a triangular head at the start, the end, both
// ends or neither. It is an ordinary widget with a pen and a brush, not part of a drawing.

#include "vorn/common/Canvas.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"
#include "vorn/extras/ArrowShapeTypes.h"

#include <QWidget>

#include <cstdint>
#include <memory>

namespace vorn {

// What the control paints, in client coordinates.
struct TvornArrowGeometry {
  TPoint StartPoint;
  TPoint EndPoint;
  // The head polygons: three points each, empty when that end has no head.
  TPointArray StartHead;
  TPointArray EndHead;
};

class TvornArrowShape : public QWidget, public TObject {
  Q_OBJECT
  Q_PROPERTY(int32_t ArrowLength READ ArrowLength WRITE SetArrowLength)
  Q_PROPERTY(int32_t ArrowWidth READ ArrowWidth WRITE SetArrowWidth)
  Q_PROPERTY(double ArrowAngle READ ArrowAngle WRITE SetArrowAngle)
  Q_PROPERTY(vorn::vornArrowShape::TvornArrowExtremity ArrowExtremity READ ArrowExtremity WRITE SetArrowExtremity)
  Q_CLASSINFO("Category.ArrowLength", "Arrow")
  Q_CLASSINFO("Category.ArrowWidth", "Arrow")
  Q_CLASSINFO("Category.ArrowAngle", "Arrow")
  Q_CLASSINFO("Category.ArrowExtremity", "Arrow")

 public:
  using inherited = TObject;

  // 65 x 5 pixels, black pen and brush, a head 5 long and 20 wide at the right end.
  explicit TvornArrowShape(QWidget* Parent = nullptr);
  ~TvornArrowShape() override;
  const TClass* ClassType() const override;

  // Line and head outline; assigning copies into the owned pen.
  TPen* Pen() const { return FPen.get(); }
  void SetPen(const TPen* Value);
  // Head fill; assigning copies into the owned brush.
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(const TBrush* Value);

  // Length of a head along the line, in pixels; setting it makes ArrowWidth half of it.
  int32_t ArrowLength() const { return FArrowLength; }
  void SetArrowLength(int32_t Value);
  // Half the width of a head's base, in pixels.
  int32_t ArrowWidth() const { return FArrowWidth; }
  void SetArrowWidth(int32_t Value);
  // Direction in degrees, counter-clockwise, 0 pointing right. Values beyond ±360 are reduced
  // modulo 360 and negative ones get 360 added.
  double ArrowAngle() const { return FArrowAngle; }
  void SetArrowAngle(double Value);
  TvornArrowExtremity ArrowExtremity() const { return FArrowExtremity; }
  void SetArrowExtremity(TvornArrowExtremity Value);

  // The direction from A to B in degrees, counter-clockwise with y up on screen, 0 <= angle < 360;
  // 0 when the points coincide.
  static double AngleOfPoints(const TPoint& A, const TPoint& B);

  // The line and heads for the current size and properties.
  TvornArrowGeometry Geometry() const;

  // Repaints after a change of the pen or the brush.
  void StyleChanged(TObject* Sender = nullptr);

  // Draws the arrow on a canvas in client coordinates.
  virtual void Paint(TCanvas* Canvas);

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  int32_t FArrowLength = 5;
  int32_t FArrowWidth = 20;
  double FArrowAngle = 0;
  TvornArrowExtremity FArrowExtremity = TvornArrowExtremity::vornaeRight;
};

}  // namespace vorn
