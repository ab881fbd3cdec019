#pragma once
// Holds a shape's update bracket open for a scope: the change counted inside is delivered once
// when the scope ends, also when it ends by an exception.

#include "vorn/model/KxDeShapeBase.h"

namespace vorn {

class TUpdateBracket {
 public:
  explicit TUpdateBracket(TKxDeShapeBase* Shape) : FShape(Shape) { FShape->BeginUpdate(); }
  ~TUpdateBracket() { FShape->EndUpdate(); }
  TUpdateBracket(const TUpdateBracket&) = delete;
  TUpdateBracket& operator=(const TUpdateBracket&) = delete;

 private:
  TKxDeShapeBase* FShape;
};

}  // namespace vorn
