#pragma once
// TKxDeShape: the concrete plain shape. It adds the point list operations (Add, Insert, Delete,
// Remove, Extract, Clear) to the shape base; host shape classes derive from it and override the
// painting and geometry operations.

#include "vorn/model/KxDeShapeBase.h"

namespace vorn {

class TKxDeShape : public TKxDeShapeBase {
  VORN_OBJECT(TKxDeShape, TKxDeShapeBase)

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

 protected:
  ~TKxDeShape() override = default;
};

}  // namespace vorn
