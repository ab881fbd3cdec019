#include "vorn/common/Version.h"

#include <QString>

namespace vorn {

QString VornVersionText() { return QString::fromLatin1(kVornProductName); }

}  // namespace vorn
