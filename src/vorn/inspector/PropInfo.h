#pragma once
// Property information of the property tree: what it knows about one published property
// (TPropInfo, read once per class from the meta-object), the published properties of a class
// restricted to some kinds (TPropInfoList) and the same grouped by category (TCategoryList).
//
// A published property is a designable, readable Q_PROPERTY; a class hides an inherited one by
// declaring it again with DESIGNABLE false. A property's category is the class info
// "Category.<Property>" of its class or of a base class (the most derived one counts), and the
// class info "TypeName.<Property>" names its type where the meta-type system cannot: an int that
// holds a colour says "TColor". Events are std::function members, outside the meta-object, so no
// property is of the method kind.

#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/inspector/PropertyTypes.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QString>

#include <cstdint>
#include <vector>

namespace vorn {

// One element of a set property: its name and its bit in the set's mask.
struct TSetElementInfo {
  QString Name;
  uint32_t Bit = 0;
};

struct TPropInfo {
  QMetaProperty Property;
  QString Name;
  TTypeKind Kind = TTypeKind::tkUnknown;
  // "Integer", "Cardinal", "Int64", "Single", "Double", "Boolean", "Char", "string", "Variant",
  // "TColor", "TFont", the enumeration, set or class name ("TPenStyle", "TFontStyles",
  // "TKxDeShapePen"), else the meta-type's name without its namespace.
  QString TypeName;
  QString Category;  // empty when the class gives none
  bool IsBoolean = false;
  bool IsSingle = false;                   // a float of single precision
  QMetaEnum Enum;                          // enumerations: their values; sets: their element enumeration
  std::vector<TSetElementInfo> Elements;   // sets: one per element of the base type, in order
  const QMetaObject* ClassMeta = nullptr;  // class-typed: the declared class
  bool IsQObject = false;                  // class-typed: a QObject class (a component)
  int NameIndex = 0;                       // the property's index among its class's properties

  bool ReadOnly() const { return !Property.isWritable(); }
};
using PPropInfo = const TPropInfo*;

// The published properties of a class, sorted by name without regard to case. Read once per class
// and kept for the life of the program.
const std::vector<TPropInfo>& PropInfosOf(const QMetaObject* Meta);

// The published properties of an object's class whose kind is in a filter, sorted by name.
class TPropInfoList : public TObject {
  VORN_OBJECT(TPropInfoList, TObject)

 public:
  TPropInfoList(const QMetaObject* Meta, TTypeKinds Filter);

  int32_t Count() const { return static_cast<int32_t>(FList.size()); }
  // The byte size of the information array.
  int32_t Size() const { return Count() * static_cast<int32_t>(sizeof(PPropInfo)); }
  // The property at I (none outside the list).
  PPropInfo Get(int32_t I) const;
  PPropInfo operator[](int32_t I) const { return Get(I); }
  // The first property whose name matches without regard to case, or none.
  PPropInfo Find(const QString& Name) const;
  // True when a property of the same type and name is in the list.
  bool Contains(PPropInfo PropInfo) const;
  // Removes the property at I, closing the gap.
  void Delete(int32_t I);
  // Removes, from the last to the first, every property that Other does not contain.
  void Intersect(const TPropInfoList& Other);

 protected:
  ~TPropInfoList() override = default;

 private:
  std::vector<PPropInfo> FList;
};

using TAddCategoryEvent = std::function<void(TObject* Sender, const QString& Category, bool& CanAdd)>;

// The properties of one category, in the order they were added.
struct TPropInfoData {
  std::vector<PPropInfo> PropList;
  int32_t PropCount() const { return static_cast<int32_t>(PropList.size()); }
  int32_t Capacity() const { return static_cast<int32_t>(PropList.capacity()); }
};

// One category of a category list: its caption and the property it stands for.
struct TCategoryListItem {
  QString FString;
  TPropInfoData Data;
};

// Categories kept sorted by name (locale-aware, without regard to case), each with its
// properties. Indexes and capacities out of bounds raise EStringListError.
class TCategoryList : public TObject {
  VORN_OBJECT(TCategoryList, TObject)

 public:
  TCategoryList() = default;

  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  int32_t Capacity() const { return FCapacity; }
  // Sets the room for categories; less than Count raises "List capacity out of bounds (%d)".
  void SetCapacity(int32_t Value);
  // Binary search; Index is the category's position, or where it would be inserted.
  bool Find(const QString& Name, int32_t& Index) const;
  // Adds a property to its category; a new category is first offered to OnBeforeAddCategory and
  // dropped (with the property) when refused.
  void Add(const QString& Name, PPropInfo PropInfo);
  // Inserts an empty category at Index (0 ... Count).
  void InsertItem(int32_t Index, const QString& Name);
  // Appends a property to the category at Index.
  void InsertPropInfo(int32_t Index, PPropInfo PropInfo);
  QString GetCategories(int32_t I) const;
  PPropInfo GetPropInfoItems(int32_t Category, int32_t I) const;
  int32_t GetPropInfoItemsCount(int32_t Category) const;
  QString GetPropertyName(int32_t Category, int32_t I) const;
  const TCategoryListItem& Items(int32_t I) const;
  void Clear();
  // Sorts the categories by name (they are kept sorted; this restores the order after
  // ExchangeItems).
  void Sort();
  void ExchangeItems(int32_t I, int32_t J);

  TAddCategoryEvent OnBeforeAddCategory;

 protected:
  ~TCategoryList() override = default;
  // Makes room for more categories, by a quarter of the capacity when it is large.
  void Grow();

 private:
  void CheckIndex(int32_t I, int32_t Limit) const;

  std::vector<TCategoryListItem> FItems;
  int32_t FCapacity = 0;
};

// The property tree's messages, translatable (context "MekInspector").
QString rsInspectorName();      // "Name"
QString rsInspectorValue();     // "Value"
QString rsClickToModify();      // "Click to modify"
QString rsMiscellaneous();      // "Miscellaneous"
QString rsListCapacityError();  // "List capacity out of bounds (%d)"
QString rsListIndexError();     // "Index %d out of range"
// The caption of a declared category (context "PropertyCategory", where the engine's own
// categories are listed for the catalogues); "Miscellaneous" for none.
QString CategoryCaption(const QString& Category);

}  // namespace vorn
