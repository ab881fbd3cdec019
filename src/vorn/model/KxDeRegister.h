#pragma once
// TKxDeRegister: the process-wide registry of shape classes. Hosts register their shape classes
// with a display name and a description; documents name shapes by class name, and readers look
// the class up here and create the shape through its virtual constructor.

#include "vorn/common/Events.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace vorn {

class TKxDeShapeBase;

// One entry of the shape registry: the class, its display name and its description.
struct TRegisterShapeInfosRec {
  TKxDeShapeClass ShapeClass = nullptr;
  QString DisplayName;
  QString Description;
};

// Walks a list of strings: MoveNext() before each Current().
class TStringsEnumerator {
 public:
  explicit TStringsEnumerator(QStringList Strings) : FStrings(std::move(Strings)) {}
  bool MoveNext() { return ++FIndex < FStrings.size(); }
  QString Current() const { return FStrings.value(FIndex); }

 private:
  QStringList FStrings;
  qsizetype FIndex = -1;
};

class TKxDeRegister {
 public:
  TKxDeRegister() = delete;

  // Registers AShape under its class name, unless that name is registered already (the first
  // entry stays). True whenever AShape is given, False for none and for a class that is not a
  // shape class.
  static bool RegisterShape(TKxDeShapeClass AShape, const QString& DisplayName, const QString& Description);
  static bool RegisterShape(TKxDeShapeClass AShape) { return RegisterShape(AShape, QString(), QString()); }
  static void UnRegisterShape(TKxDeShapeClass AShape);
  // The class registered under AShapeName, letter case ignored; none when unknown.
  static TKxDeShapeClass FindShape(const QString& AShapeName);
  // The registered texts of a class (or of a shape's class), translated; empty when unregistered.
  static QString FindShapeDisplayName(TKxDeShapeClass AShape);
  static QString FindShapeDisplayName(const TKxDeShapeBase* AShape);
  static QString FindShapeDescription(TKxDeShapeClass AShape);
  static QString FindShapeDescription(const TKxDeShapeBase* AShape);
  // The registered class names in sorted order; none while nothing is registered.
  static std::unique_ptr<TStringsEnumerator> GetEnumerator();
  // Disposes every entry and the list itself.
  static void ClearShapeList();

  // Creates a shape of a registered class without surface and owner; none for an unknown name.
  static TKxDeShapeBase* CreateShape(const QString& AShapeName);
};

}  // namespace vorn
