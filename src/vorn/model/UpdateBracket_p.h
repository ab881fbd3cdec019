#pragma once
// Holds one of a shape's counted brackets open for a scope and closes it when the scope ends, also
// when it ends by an exception. TUpdateBracket is the update bracket: the change counted inside is
// delivered once when the outermost one closes. The notify lock and the point and control updates
// have scopes of the same kind (TBracket: an exception from the closing step propagates).

#include "vorn/common/Bracket_p.h"
#include "vorn/model/KxDeShapeBase.h"

namespace vorn {

template <void (TKxDeShapeBase::*Begin)(), void (TKxDeShapeBase::*End)()>
using TShapeBracket = TBracket<TKxDeShapeBase, Begin, End>;

using TUpdateBracket = TShapeBracket<&TKxDeShapeBase::BeginUpdate, &TKxDeShapeBase::EndUpdate>;
using TNotifyLockBracket = TShapeBracket<&TKxDeShapeBase::BeginNotifyLock, &TKxDeShapeBase::EndNotifyLock>;
using TPointUpdateBracket = TShapeBracket<&TKxDeShapeBase::BeginPointUpdate, &TKxDeShapeBase::EndPointUpdate>;
using TControlUpdateBracket = TShapeBracket<&TKxDeShapeBase::BeginControlUpdate, &TKxDeShapeBase::EndControlUpdate>;

}  // namespace vorn
