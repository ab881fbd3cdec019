#include "vorn/common/Object.h"

#include "vorn/common/Exceptions.h"

namespace vorn {

QString ClassNameOf(const QMetaObject* Meta) {
  if (!Meta) return {};
  const QString full = QString::fromLatin1(Meta->className());
  const qsizetype sep = full.lastIndexOf(QLatin1String("::"));
  return sep < 0 ? full : full.mid(sep + 2);
}

QString TClass::ClassName() const { return ClassNameOf(FMeta); }

bool TClass::InheritsFrom(const TClass* Other) const {
  for (const TClass* c = this; c; c = c->ClassParent())
    if (c == Other) return true;
  return false;
}

const TClass* TObject::ClassType() const { return ClassOf<TObject>(); }

const TClass* TPersistent::ClassType() const { return ClassOf<TPersistent>(); }

void TPersistent::Assign(const TPersistent* Source) {
  if (!Source) throw Exception(QStringLiteral("Cannot assign a nil to a %1").arg(ClassName()));
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  const QString from = ClassName();
  const QString to = Dest ? Dest->ClassName() : QStringLiteral("nil");
  throw Exception(QStringLiteral("Cannot assign a %1 to a %2").arg(from, to));
}

}  // namespace vorn
