#pragma once
// TKxDePackage: shapes framed by a filled rectangle with an optional picture. Unlike a group, a
// package keeps a rectangle of its own while it is empty, and its bounds take in the turned
// extent of its children. On a layer that is not printed it paints in silver with a diagonal
// hatch, so that the user sees it will not come out on paper.

#include "vorn/model/KxDeContainer.h"
#include "vorn/model/KxDeShapeBrush.h"

namespace vorn {

class TKxDePackage : public TKxDeContainer {
  VORN_OBJECT(TKxDePackage, TKxDeContainer)
  Q_PROPERTY(vorn::TKxDeShapeBrush* Brush READ Brush WRITE SetBrush)
  Q_CLASSINFO("Category.Brush", "Appearance")

 public:
  // The container's styles plus kxssUsesPicture and kxssUsesBrush, minus kxssUsesPen.
  TKxDePackage(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  using TKxDeShapeBase::SetBrush;

  // The colours the package paints in: its own, or silver with a diagonal hatch while its layer
  // is not printed.
  virtual TColor GetBrushColor() const;
  virtual TBrushStyle GetBrushStyle() const;
  virtual TColor GetPenColor() const;

  // A plain flag for the host.
  bool CrossedOut() const { return FCrossedOut; }
  void SetCrossedOut(bool Value) { FCrossedOut = Value; }

  // The union of the children's turned bounds; an empty package keeps its rectangle.
  void RecalculateBounds(bool Force) override;
  // An empty package moves its rectangle (a side of 0 or less becomes 0.1); otherwise the
  // children move.
  void MoveBy(float X, float Y) override;
  // Scales the children about the top-left corner; an empty package sizes its rectangle.
  void Resize(float NewWidth, float NewHeight) override;

  // The filled rectangle, the picture clipped to it, then the children.
  void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation,
             PmekDeviceCapsInfo DeviceCapsInfo) override;
  // The same within the world rectangle R: the frame clipped to R, then the children in R.
  void PaintIn(TCanvas* C, float X, float Y, double Zoom, const TRectF& R) override;

  // The shape element (brush, picture, rectangle); reading is one announced change and always
  // takes the stored identity, whatever KeepID says.
  void LoadFromXML(TXmlNode Node, bool KeepID) override;

 protected:
  ~TKxDePackage() override = default;

 private:
  // The layer tells its packages that their colours changed when its printing is switched.
  friend class TKxDeLayer;

  // True while the package lies on a layer that is not printed.
  bool OnNonPrintingLayer() const;
  // The frame of Paint: fill and picture in the device rectangle of the bounds.
  void PaintFrame(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation,
                  PmekDeviceCapsInfo DeviceCapsInfo);
};

}  // namespace vorn
