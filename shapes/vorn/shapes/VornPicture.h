#pragma once
// TVornPicture: the shape's picture (any graphic the engine's picture registry reads: bitmaps,
// PNG, JPEG, GIF, SVG as vectors, IMG) drawn into its box by the picture style: stretched (with
// the picture's ratio kept when its KeepRatio is set), centred, at the top-left corner, or
// tiled. The picture may be mirrored. It draws nothing else: a frame or a background is a shape
// of its own.
//
// With the ratio kept, the box itself keeps the picture's ratio when the editor sizes it or
// drags a corner, and the shape is hit where the picture is drawn, not in the empty margins.

#include "vorn/shapes/VornBoxShape.h"

namespace vorn {

class TVornPicture : public TVornBoxShape {
  VORN_OBJECT(TVornPicture, TVornBoxShape)
  Q_PROPERTY(vorn::KxDEConsts::TKxDeShapePictureStyle PictureStyle READ PictureStyle WRITE SetPictureStyle)
  Q_PROPERTY(bool FlipHorizontal READ FlipHorizontal WRITE SetFlipHorizontal)
  Q_PROPERTY(bool FlipVertical READ FlipVertical WRITE SetFlipVertical)
  Q_PROPERTY(vorn::TKxDePicture* Picture READ Picture WRITE SetPicture)
  Q_PROPERTY(int Color READ Color WRITE SetColor DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapeBrush* Brush READ Brush WRITE SetBrush DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapeGradient* Gradient READ GetGradient WRITE SetGradient DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapePen* Pen READ Pen WRITE SetPen DESIGNABLE false)
  Q_CLASSINFO("Category.FlipHorizontal", "Picture")
  Q_CLASSINFO("Category.FlipVertical", "Picture")

 public:
  TVornPicture(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  bool FlipHorizontal() const { return FFlipHorizontal; }
  void SetFlipHorizontal(bool Value);
  bool FlipVertical() const { return FFlipVertical; }
  void SetFlipVertical(bool Value);
  using TVornBoxShape::SetPictureStyle;

  // Loads the picture from a file (raises with a clear message on a bad file; the shape keeps
  // its picture then).
  void LoadPicture(const QString& FileName);
  // The picture's width over its height while the ratio is kept, else 0.
  double AspectRatio() const override;
  // Where the picture lands in Box (world units, unrotated).
  QRectF PictureRect(const QRectF& Box) const;

  void SaveToXML(TXmlNode Node) const override;
  void LoadFromXML(TXmlNode Node, bool KeepID) override;

 protected:
  ~TVornPicture() override = default;

  void PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                  PmekDeviceCapsInfo DeviceCapsInfo) override;
  bool HitGeometry(const TPointF& P, float Fuzz) const override;

 private:
  bool FFlipHorizontal = false;
  bool FFlipVertical = false;
};

}  // namespace vorn
