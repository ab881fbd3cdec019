#pragma once
// Holds one of a shape's counted brackets open for a scope and closes it when the scope ends, also
// when it ends by an exception. TUpdateBracket is the update bracket: the change counted inside is
// delivered once when the outermost one closes. The notify lock and the point and control updates
// have scopes of the same kind.
//
// The closing step may run a host's hooks: an exception from it propagates like any other. Only
// while another exception is already unwinding the stack would it end the program, as throwing
// from a destructor then does.

#include "vorn/model/KxDeShapeBase.h"

namespace vorn {

template <void (TKxDeShapeBase::*Begin)(), void (TKxDeShapeBase::*End)()>
class TShapeBracket {
 public:
  explicit TShapeBracket(TKxDeShapeBase* Shape) : FShape(Shape) { (FShape->*Begin)(); }
  ~TShapeBracket() noexcept(false) { (FShape->*End)(); }
  TShapeBracket(const TShapeBracket&) = delete;
  TShapeBracket& operator=(const TShapeBracket&) = delete;

 private:
  TKxDeShapeBase* FShape;
};

using TUpdateBracket = TShapeBracket<&TKxDeShapeBase::BeginUpdate, &TKxDeShapeBase::EndUpdate>;
using TNotifyLockBracket = TShapeBracket<&TKxDeShapeBase::BeginNotifyLock, &TKxDeShapeBase::EndNotifyLock>;
using TPointUpdateBracket = TShapeBracket<&TKxDeShapeBase::BeginPointUpdate, &TKxDeShapeBase::EndPointUpdate>;
using TControlUpdateBracket = TShapeBracket<&TKxDeShapeBase::BeginControlUpdate, &TKxDeShapeBase::EndControlUpdate>;

}  // namespace vorn
