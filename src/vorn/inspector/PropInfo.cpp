#include "vorn/inspector/PropInfo.h"

#include "vorn/common/Exceptions.h"
#include "vorn/common/ResStrs.h"
#include "vorn/common/Set.h"

#include <QCollator>
#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QHash>

#include <algorithm>
#include <memory>

namespace vorn {
namespace {

QString ClassInfo(const QMetaObject* Meta, const char* Prefix, const QString& Property) {
  const QByteArray key = QByteArray(Prefix) + Property.toLatin1();
  const int i = Meta->indexOfClassInfo(key.constData());
  return i < 0 ? QString() : QString::fromUtf8(Meta->classInfo(i).value());
}

QString WithoutNamespace(const QByteArray& Name) {
  QString s = QString::fromLatin1(Name);
  if (s.endsWith(QLatin1Char('*'))) s.chop(1);
  const qsizetype sep = s.lastIndexOf(QLatin1String("::"));
  return sep < 0 ? s : s.mid(sep + 2);
}

// The kind and type name of a plain meta-type.
bool Builtin(int Id, TPropInfo& P) {
  struct TBuiltin {
    int Id;
    TTypeKind Kind;
    const char* Name;
  };
  static const TBuiltin table[] = {
      {QMetaType::Int, TTypeKind::tkInteger, "Integer"},
      {QMetaType::UInt, TTypeKind::tkInteger, "Cardinal"},
      {QMetaType::Short, TTypeKind::tkInteger, "SmallInt"},
      {QMetaType::UShort, TTypeKind::tkInteger, "Word"},
      {QMetaType::UChar, TTypeKind::tkInteger, "Byte"},
      {QMetaType::SChar, TTypeKind::tkInteger, "ShortInt"},
      {QMetaType::Long, TTypeKind::tkInt64, "Int64"},
      {QMetaType::ULong, TTypeKind::tkInt64, "UInt64"},
      {QMetaType::LongLong, TTypeKind::tkInt64, "Int64"},
      {QMetaType::ULongLong, TTypeKind::tkInt64, "UInt64"},
      {QMetaType::Char, TTypeKind::tkChar, "AnsiChar"},
      {QMetaType::QChar, TTypeKind::tkWChar, "Char"},
      {QMetaType::Float, TTypeKind::tkFloat, "Single"},
      {QMetaType::Double, TTypeKind::tkFloat, "Double"},
      {QMetaType::QString, TTypeKind::tkUString, "string"},
      {QMetaType::QByteArray, TTypeKind::tkLString, "AnsiString"},
      {QMetaType::QVariant, TTypeKind::tkVariant, "Variant"},
      {QMetaType::Bool, TTypeKind::tkEnumeration, "Boolean"},
      {QMetaType::QColor, TTypeKind::tkRecord, "TColor"},
      {QMetaType::QFont, TTypeKind::tkClass, "TFont"},
  };
  for (const TBuiltin& b : table) {
    if (b.Id != Id) continue;
    P.Kind = b.Kind;
    P.TypeName = QString::fromLatin1(b.Name);
    P.IsBoolean = Id == QMetaType::Bool;
    P.IsSingle = Id == QMetaType::Float;
    return true;
  }
  return false;
}

void ReadKind(const QMetaProperty& Prop, TPropInfo& P) {
  const QMetaType type = Prop.metaType();
  if (Prop.isEnumType()) {
    P.Enum = Prop.enumerator();
    P.TypeName = QString::fromLatin1(P.Enum.enumName());
    if (Prop.isFlagType()) {
      // Qt flags: every single-bit key is an element.
      P.Kind = TTypeKind::tkSet;
      for (int i = 0; i < P.Enum.keyCount(); ++i) {
        const auto bit = static_cast<uint32_t>(P.Enum.value(i));
        if (bit != 0 && (bit & (bit - 1)) == 0) P.Elements.push_back({QString::fromLatin1(P.Enum.key(i)), bit});
      }
    } else {
      P.Kind = TTypeKind::tkEnumeration;
    }
  } else if (const TSetTypeInfo* set = FindSetType(type)) {
    P.Kind = TTypeKind::tkSet;
    P.TypeName = QString::fromLatin1(set->Name);
    P.Enum = set->Elements;
    // One element per value of the base type, from its minimum to its maximum.
    int lo = 0, hi = -1;
    for (int i = 0; i < P.Enum.keyCount(); ++i) {
      lo = i == 0 ? P.Enum.value(i) : std::min(lo, P.Enum.value(i));
      hi = i == 0 ? P.Enum.value(i) : std::max(hi, P.Enum.value(i));
    }
    for (int v = std::max(lo, 0); v <= std::min(hi, 31); ++v) {
      const char* key = P.Enum.valueToKey(v);
      P.Elements.push_back({key ? QString::fromLatin1(key) : QString::number(v), 1u << v});
    }
  } else if (type.flags() & (QMetaType::PointerToGadget | QMetaType::PointerToQObject)) {
    P.Kind = TTypeKind::tkClass;
    P.ClassMeta = type.metaObject();
    P.IsQObject = (type.flags() & QMetaType::PointerToQObject) != 0;
    P.TypeName = P.ClassMeta ? ClassNameOf(P.ClassMeta) : WithoutNamespace(type.name());
  } else if (!Builtin(type.id(), P)) {
    P.Kind = TTypeKind::tkRecord;
    P.TypeName = WithoutNamespace(type.name());
  }
}

// Case-insensitive name order, the order the lists keep.
bool NameLess(const TPropInfo& A, const TPropInfo& B) { return A.Name.compare(B.Name, Qt::CaseInsensitive) < 0; }

std::unique_ptr<std::vector<TPropInfo>> ReadClass(const QMetaObject* Meta) {
  auto infos = std::make_unique<std::vector<TPropInfo>>();
  QHash<QString, size_t> byName;
  for (int i = 0; i < Meta->propertyCount(); ++i) {
    const QMetaProperty prop = Meta->property(i);
    TPropInfo p;
    p.Property = prop;
    p.Name = QString::fromLatin1(prop.name());
    p.NameIndex = i;
    p.Category = ClassInfo(Meta, "Category.", p.Name);
    ReadKind(prop, p);
    const QString typeName = ClassInfo(Meta, "TypeName.", p.Name);
    if (!typeName.isEmpty()) p.TypeName = typeName;
    // A derived class's declaration of a name replaces the inherited one (and may hide it).
    const auto found = byName.constFind(p.Name);
    const bool shown = prop.isReadable() && prop.isDesignable();
    if (found != byName.constEnd()) {
      (*infos)[*found] = std::move(p);
      if (!shown) (*infos)[*found].Name.clear();
    } else if (shown) {
      byName.insert(p.Name, infos->size());
      infos->push_back(std::move(p));
    }
  }
  std::erase_if(*infos, [](const TPropInfo& p) { return p.Name.isEmpty(); });
  std::stable_sort(infos->begin(), infos->end(), NameLess);
  return infos;
}

QString Tr(const char* Text) { return QCoreApplication::translate("MekInspector", Text); }

}  // namespace

const std::vector<TPropInfo>& PropInfosOf(const QMetaObject* Meta) {
  static const std::vector<TPropInfo> none;
  if (!Meta) return none;
  static QHash<const QMetaObject*, std::shared_ptr<const std::vector<TPropInfo>>> cache;
  auto it = cache.find(Meta);
  if (it == cache.end()) it = cache.insert(Meta, std::shared_ptr<const std::vector<TPropInfo>>(ReadClass(Meta)));
  return **it;
}

// ---- TPropInfoList --------------------------------------------------------------------------------

TPropInfoList::TPropInfoList(const QMetaObject* Meta, TTypeKinds Filter) {
  for (const TPropInfo& p : PropInfosOf(Meta))
    if (Filter.Contains(p.Kind)) FList.push_back(&p);
}

PPropInfo TPropInfoList::Get(int32_t I) const { return I >= 0 && I < Count() ? FList[I] : nullptr; }

PPropInfo TPropInfoList::Find(const QString& Name) const {
  for (PPropInfo p : FList)
    if (p->Name.compare(Name, Qt::CaseInsensitive) == 0) return p;
  return nullptr;
}

bool TPropInfoList::Contains(PPropInfo PropInfo) const {
  if (!PropInfo) return false;
  return std::any_of(FList.begin(), FList.end(), [&](PPropInfo p) {
    return p->Kind == PropInfo->Kind && p->TypeName == PropInfo->TypeName && p->Name == PropInfo->Name;
  });
}

void TPropInfoList::Delete(int32_t I) {
  if (I >= 0 && I < Count()) FList.erase(FList.begin() + I);
}

void TPropInfoList::Intersect(const TPropInfoList& Other) {
  for (int32_t i = Count() - 1; i >= 0; --i)
    if (!Other.Contains(FList[i])) Delete(i);
}

// ---- TCategoryList --------------------------------------------------------------------------------

namespace {

int CompareNames(const QString& A, const QString& B) {
  static const QCollator collator = [] {
    QCollator c;
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
  }();
  return collator.compare(A, B);
}

}  // namespace

void TCategoryList::CheckIndex(int32_t I, int32_t Limit) const {
  if (I < 0 || I >= Limit) throw EStringListError(kxdFormat(rsListIndexError(), {I}));
}

void TCategoryList::SetCapacity(int32_t Value) {
  if (Value < Count()) throw EStringListError(kxdFormat(rsListCapacityError(), {Value}));
  FItems.reserve(static_cast<size_t>(Value));
  FCapacity = Value;
}

void TCategoryList::Grow() {
  const int32_t delta = FCapacity > 64 ? FCapacity / 4 : (FCapacity > 8 ? 16 : 4);
  SetCapacity(FCapacity + delta);
}

bool TCategoryList::Find(const QString& Name, int32_t& Index) const {
  int32_t lo = 0, hi = Count() - 1;
  while (lo <= hi) {
    const int32_t mid = (lo + hi) / 2;
    const int c = CompareNames(FItems[mid].FString, Name);
    if (c == 0) {
      Index = mid;
      return true;
    }
    if (c < 0) lo = mid + 1;
    else hi = mid - 1;
  }
  Index = lo;
  return false;
}

void TCategoryList::Add(const QString& Name, PPropInfo PropInfo) {
  int32_t index = 0;
  if (!Find(Name, index)) {
    bool canAdd = true;
    CallEvent(OnBeforeAddCategory, this, Name, canAdd);
    if (!canAdd) return;
    InsertItem(index, Name);
  }
  InsertPropInfo(index, PropInfo);
}

void TCategoryList::InsertItem(int32_t Index, const QString& Name) {
  CheckIndex(Index, Count() + 1);
  if (Count() == FCapacity) Grow();
  FItems.insert(FItems.begin() + Index, TCategoryListItem{Name, {}});
}

void TCategoryList::InsertPropInfo(int32_t Index, PPropInfo PropInfo) {
  CheckIndex(Index, Count());
  FItems[Index].Data.PropList.push_back(PropInfo);
}

const TCategoryListItem& TCategoryList::Items(int32_t I) const {
  CheckIndex(I, Count());
  return FItems[I];
}

QString TCategoryList::GetCategories(int32_t I) const { return Items(I).FString; }

PPropInfo TCategoryList::GetPropInfoItems(int32_t Category, int32_t I) const {
  const TPropInfoData& data = Items(Category).Data;
  CheckIndex(I, data.PropCount());
  return data.PropList[I];
}

int32_t TCategoryList::GetPropInfoItemsCount(int32_t Category) const { return Items(Category).Data.PropCount(); }

QString TCategoryList::GetPropertyName(int32_t Category, int32_t I) const {
  return GetPropInfoItems(Category, I)->Name;
}

void TCategoryList::Clear() {
  FItems.clear();
  FItems.shrink_to_fit();
  FCapacity = 0;
}

void TCategoryList::Sort() {
  std::sort(FItems.begin(), FItems.end(), [](const TCategoryListItem& a, const TCategoryListItem& b) {
    return CompareNames(a.FString, b.FString) < 0;
  });
}

void TCategoryList::ExchangeItems(int32_t I, int32_t J) {
  CheckIndex(I, Count());
  CheckIndex(J, Count());
  std::swap(FItems[I], FItems[J]);
}

// ---- Messages -------------------------------------------------------------------------------------

QString rsInspectorName() { return Tr(QT_TRANSLATE_NOOP("MekInspector", "Name")); }
QString rsInspectorValue() { return Tr(QT_TRANSLATE_NOOP("MekInspector", "Value")); }
QString rsClickToModify() { return Tr(QT_TRANSLATE_NOOP("MekInspector", "Click to modify")); }
QString rsMiscellaneous() { return Tr(QT_TRANSLATE_NOOP("MekInspector", "Miscellaneous")); }

QString CategoryCaption(const QString& Category) {
  // The categories the engine's classes declare, listed for the catalogues.
  [[maybe_unused]] static constexpr const char* Declared[] = {
    QT_TRANSLATE_NOOP("PropertyCategory", "Advanced"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Appearance"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Arrow"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Barcode"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Behavior"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Brush"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Colors"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Correction"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Display"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Editing"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Font"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Geometry"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Gradient"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Identity"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Layout"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Line ends"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Pen"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Picture"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Position"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Text"),
    QT_TRANSLATE_NOOP("PropertyCategory", "Tolerances"),
  };
  if (Category.isEmpty()) return rsMiscellaneous();
  return QCoreApplication::translate("PropertyCategory", Category.toUtf8().constData());
}
QString rsListCapacityError() { return Tr(QT_TRANSLATE_NOOP("MekInspector", "List capacity out of bounds (%d)")); }
QString rsListIndexError() { return Tr(QT_TRANSLATE_NOOP("MekInspector", "Index %d out of range")); }

}  // namespace vorn
