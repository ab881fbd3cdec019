#pragma once
// The surface's brackets as scopes: its update bracket (one refresh when the outermost closes)
// and the action bracket of its own compound operations, announced through its undo hooks.

#include "vorn/common/Bracket_p.h"
#include "vorn/model/ActionScope_p.h"
#include "vorn/surface/KxDeSurface.h"

namespace vorn {

using TSurfaceUpdate = TBracket<TKxDeSurface, &TKxDeSurface::BeginUpdate, &TKxDeSurface::EndUpdate>;
using TSurfaceAction = TActionScopeOf<TKxDeSurface>;

}  // namespace vorn
