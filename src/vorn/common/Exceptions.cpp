#include "vorn/common/Exceptions.h"

#include "vorn/common/ResStrs.h"

#include <cerrno>
#include <cstring>

namespace vorn {

void kxdRaiseOSError(int32_t ErrorCode) {
  if (ErrorCode != 0) {
    const QString text = QString::fromLocal8Bit(std::strerror(ErrorCode));
    throw EKxOSError(kxdFormat(rsSysErrorCode(), {ErrorCode, text}), static_cast<uint32_t>(ErrorCode));
  }
  throw EKxOSError(rsSysErrorUnknown(), 0);
}

void kxdRaiseLastOSError() { kxdRaiseOSError(errno); }

}  // namespace vorn
