#pragma once
// The surface's debug channel ("vorn.surface", off by default): why a call did nothing.

#include <QLoggingCategory>

namespace vorn {

Q_DECLARE_LOGGING_CATEGORY(lcSurface)

}  // namespace vorn
