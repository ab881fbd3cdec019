#pragma once
// The text form of a control's published state: one "Path = Value" line per published property,
// sub-objects (pointer-to-gadget properties) by dotted path, inside "object Name: Class" ... "end".
// Values: enumerations by name, True/False, decimal integers, numbers in their shortest exact
// form, strings in single quotes ('' for a quote, #N for control characters).

#include <QString>

#include <memory>

class QMetaObject;
class QObject;

namespace vorn {

// Writes the properties Object's classes add after Base (Base's own are left out).
QString WriteComponentText(const QObject* Object, const QMetaObject* Base, const QString& ClassName);

// The properties a text sets, read and checked before any is set.
class TComponentTextReader {
 public:
  // Checks the whole text against Object (the class named must be Object's or one it derives
  // from; every path must name a writable published property; every value must convert) and
  // raises vorn::Exception with the line number on the first fault; nothing is set then.
  TComponentTextReader(QObject* Object, const QMetaObject* Base, const QString& Text);
  ~TComponentTextReader();
  TComponentTextReader(const TComponentTextReader&) = delete;
  TComponentTextReader& operator=(const TComponentTextReader&) = delete;

  // Sets the properties in the order of the text.
  void Apply() const;

 private:
  struct TData;
  std::unique_ptr<TData> FData;
};

}  // namespace vorn
