#include "vorn/model/KxDeRegister.h"

#include "vorn/common/Object.h"
#include "vorn/model/KxDeShapeBase.h"

#include <QCoreApplication>

#include <map>

namespace vorn {

namespace {

struct CaseInsensitiveLess {
  bool operator()(const QString& A, const QString& B) const {
    return QString::compare(A, B, Qt::CaseInsensitive) < 0;
  }
};

using TShapeList = std::map<QString, TRegisterShapeInfosRec, CaseInsensitiveLess>;

// Created at the first registration; freed by ClearShapeList or when the library unloads.
std::unique_ptr<TShapeList>& ShapeList() {
  static std::unique_ptr<TShapeList> list;
  return list;
}

const TRegisterShapeInfosRec* FindEntry(TKxDeShapeClass AShape) {
  if (!AShape || !ShapeList()) return nullptr;
  auto it = ShapeList()->find(AShape->ClassName());
  return it == ShapeList()->end() ? nullptr : &it->second;
}

QString Translate(const QString& Text) {
  if (Text.isEmpty()) return Text;
  return QCoreApplication::translate("KxDeRegister", Text.toUtf8().constData());
}

}  // namespace

bool TKxDeRegister::RegisterShape(TKxDeShapeClass AShape, const QString& DisplayName,
                                  const QString& Description) {
  auto& list = ShapeList();
  if (!list) list = std::make_unique<TShapeList>();
  // A class reference of another family has no shape constructor to call: refuse it.
  if (!AShape || !AShape->InheritsFrom(ClassOf<TKxDeShapeBase>())) return false;
  list->try_emplace(AShape->ClassName(), TRegisterShapeInfosRec{AShape, DisplayName, Description});
  return true;
}

void TKxDeRegister::UnRegisterShape(TKxDeShapeClass AShape) {
  if (!AShape || !ShapeList()) return;
  ShapeList()->erase(AShape->ClassName());
}

TKxDeShapeClass TKxDeRegister::FindShape(const QString& AShapeName) {
  if (!ShapeList()) return nullptr;
  auto it = ShapeList()->find(AShapeName);
  return it == ShapeList()->end() ? nullptr : it->second.ShapeClass;
}

QString TKxDeRegister::FindShapeDisplayName(TKxDeShapeClass AShape) {
  const TRegisterShapeInfosRec* e = FindEntry(AShape);
  return e ? Translate(e->DisplayName) : QString();
}

QString TKxDeRegister::FindShapeDisplayName(const TKxDeShapeBase* AShape) {
  return AShape ? FindShapeDisplayName(AShape->ClassType()) : QString();
}

QString TKxDeRegister::FindShapeDescription(TKxDeShapeClass AShape) {
  const TRegisterShapeInfosRec* e = FindEntry(AShape);
  return e ? Translate(e->Description) : QString();
}

QString TKxDeRegister::FindShapeDescription(const TKxDeShapeBase* AShape) {
  return AShape ? FindShapeDescription(AShape->ClassType()) : QString();
}

std::unique_ptr<TStringsEnumerator> TKxDeRegister::GetEnumerator() {
  if (!ShapeList()) return nullptr;
  QStringList names;
  names.reserve(static_cast<qsizetype>(ShapeList()->size()));
  for (const auto& entry : *ShapeList()) names << entry.first;
  return std::make_unique<TStringsEnumerator>(std::move(names));
}

void TKxDeRegister::ClearShapeList() { ShapeList().reset(); }

TKxDeShapeBase* TKxDeRegister::CreateShape(const QString& AShapeName) {
  TKxDeShapeClass cls = FindShape(AShapeName);
  if (!cls) return nullptr;
  return cls->Construct<TKxDeShapeBase>(static_cast<TKxDeSurface*>(nullptr),
                                        static_cast<TKxDeContainer*>(nullptr));
}

}  // namespace vorn
