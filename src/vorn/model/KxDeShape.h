#pragma once
// TKxDeShape: the concrete plain shape. It adds the point list operations (Add, Insert, Delete,
// Remove, Extract, Clear) to the shape base and a hit test that tells filled from unfilled
// shapes; it publishes the styles a user edits. Host shape classes derive from it and override
// the painting and geometry operations.

#include "vorn/model/KxDeShapeBase.h"
#include "vorn/model/KxDeShapeFont.h"
#include "vorn/model/KxDeShapeGradient.h"

namespace vorn {

class TKxDeShape : public TKxDeShapeBase {
  VORN_OBJECT(TKxDeShape, TKxDeShapeBase)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(vorn::TKxDeShapeBrush* Brush READ Brush WRITE SetBrush)
  Q_PROPERTY(vorn::TKxDeShapePen* Pen READ Pen WRITE SetPen)
  Q_PROPERTY(vorn::TKxDeShapeFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(vorn::TKxDePicture* Picture READ Picture WRITE SetPicture)
  Q_PROPERTY(vorn::KxDEConsts::TKxDeShapePictureStyle PictureStyle READ PictureStyle WRITE SetPictureStyle)
  Q_PROPERTY(vorn::TKxDeShapeGradient* Gradient READ GetGradient WRITE SetGradient)
  Q_CLASSINFO("TypeName.Color", "TColor")
  Q_CLASSINFO("Category.Color", "Appearance")
  Q_CLASSINFO("Category.Brush", "Appearance")
  Q_CLASSINFO("Category.Pen", "Appearance")
  Q_CLASSINFO("Category.Gradient", "Appearance")
  Q_CLASSINFO("Category.Font", "Text")
  Q_CLASSINFO("Category.Picture", "Picture")
  Q_CLASSINFO("Category.PictureStyle", "Picture")

 public:
  TKxDeShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShapeBase(ASurface, AOwner) {}

  // Appends Point (InsertPoint) and returns it.
  TKxDePoint* Add(TKxDePoint* Point) override;
  // Creates a point at (x, y), appends it and returns it.
  TKxDePoint* Add(float x, float y) override;
  // Inserts Point at Index (0 <= Index <= PointCount) as one update.
  void Insert(int32_t Index, TKxDePoint* Point) override;
  // Frees the point at Index.
  void Delete(int32_t Index) override;
  // Frees a point of this shape.
  void Remove(TKxDePoint* Point) override;
  // Detaches a point of this shape and returns it (none for a foreign point).
  TKxDePoint* Extract(TKxDePoint* Point) override;
  // Frees every point.
  void Clear() override;
  // A filled shape (a brush that is neither clear nor clNone) is hit on its body as the base
  // tests it; an unfilled one only in a band of width 2 x Fuzz around its bounding rectangle,
  // without rotation.
  bool PointOnShape(const TPointF& P, float Fuzz, bool Editing) const override;

 protected:
  ~TKxDeShape() override = default;
};

}  // namespace vorn
