#pragma once
// The exception hierarchy of the engine. Every exception carries a user-readable message.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <exception>

namespace vorn {

// The root of the engine's exceptions (the runtime's base exception with a message).
class Exception : public std::exception {
 public:
  explicit Exception(const QString& Message) : FMessage(Message), FWhat(Message.toUtf8()) {}
  const QString& Message() const { return FMessage; }
  const char* what() const noexcept override { return FWhat.constData(); }

 private:
  QString FMessage;
  QByteArray FWhat;
};

// An operating-system call failed; ErrorCode is the system's error number (0 when unknown).
class EKxOSError : public Exception {
 public:
  EKxOSError(const QString& Message, uint32_t ErrorCode) : Exception(Message), FErrorCode(ErrorCode) {}
  uint32_t ErrorCode() const { return FErrorCode; }

 private:
  uint32_t FErrorCode;
};

// The clipboard cannot be opened or holds an invalid format.
class EmekClipboardException : public Exception {
 public:
  using Exception::Exception;
};

// Misuse of the object inspector.
class EmekInspectorException : public Exception {
 public:
  using Exception::Exception;
};

// Reading or writing an IMG raster failed.
class EImgException : public Exception {
 public:
  using Exception::Exception;
};

// A text could not be converted to the value it should stand for.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A list was asked for an index or a capacity outside its bounds.
class EStringListError : public Exception {
 public:
  using Exception::Exception;
};

// Raises EKxOSError for the last system error of this thread (errno).
[[noreturn]] void kxdRaiseLastOSError();
// The same for a given error code.
[[noreturn]] void kxdRaiseOSError(int32_t ErrorCode);

}  // namespace vorn
