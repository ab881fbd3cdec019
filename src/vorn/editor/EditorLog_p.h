#pragma once
// The editor's debug channel: shapes whose hit test or selection drawing raised.

#include <QLoggingCategory>

namespace vorn {

Q_DECLARE_LOGGING_CATEGORY(lcEditor)

}  // namespace vorn
