#include "vorn/common/Version.h"

namespace vorn {

QString VornVersionText() { return QString::fromLatin1(kVornProductName); }

}  // namespace vorn
