#pragma once
// TMObjectInspector: the windowless half of the object inspector. Bound to one object, it lists
// the object's published properties (those of the kinds in Filter that OnBeforeEvalProperty lets
// through) grouped by category, renders every value as text and parses text back into the
// property through the object's own setters, so a change made here is announced like any other.
//
// The object may be a model object (a TObject: shapes, styles, points) or a QObject (components).
// The inspector lets go of it when it is destroyed: a QObject tells through destroyed(), a shape
// (and any style, point or picture of a shape) through a shape notifier. Other objects must be
// unbound by their owner before they are freed.

#include "vorn/common/Exceptions.h"
#include "vorn/inspector/PropInfo.h"

#include <QMetaMethod>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include <concepts>
#include <cstddef>
#include <cstdint>

namespace vorn {

class TKxDeShapeBase;
class TKxDeShapeNotifier;

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TBeforeEvalPropertyEvent = std::function<void(PPropInfo PropInfo, bool& ShowProperty)>;

class TMObjectInspector : public QObject, public TObject {
  Q_OBJECT
  Q_PROPERTY(vorn::TTypeKinds Filter READ Filter WRITE SetFilter)

 public:
  using inherited = TObject;
  const TClass* ClassType() const override;

  // Every kind but methods.
  static TTypeKinds DefaultFilter();

  explicit TMObjectInspector(QObject* AOwner = nullptr);
  ~TMObjectInspector() override;

  // ---- Binding ------------------------------------------------------------------------------------
  // Binds the object and lists its properties by category; nothing unbinds and clears them.
  void SetObject(TObject* Object);
  void SetObject(QObject* Object);
  void SetObject(std::nullptr_t) { SetObject(static_cast<TObject*>(nullptr)); }
  // A component is both; it is watched as a QObject.
  template <class T>
  requires(std::derived_from<T, QObject>&& std::derived_from<T, TObject>) void SetObject(T* Object) {
    SetObject(static_cast<QObject*>(Object));
  }
  // Whichever form the object has (a component has both).
  TObject* Object() const { return FObject; }
  QObject* QtObject() const { return FQObject.data(); }
  bool HasObject() const { return FObject || FQObject; }
  // The component against which component references are named.
  QObject* RootComponent() const { return FRoot.data(); }
  QString BoundClassName() const { return FClassName; }
  TTypeKinds Filter() const { return FFilter; }
  // Lists the bound object's properties again with the new filter.
  void SetFilter(TTypeKinds Kinds);
  const TPropInfoList* PropList() const { return FPropList.get(); }
  TCategoryList* Categories() const { return FCategories.get(); }
  // The properties listed (the sum over the categories).
  int32_t PropertyCount() const;

  // ---- By name ------------------------------------------------------------------------------------
  PPropInfo GetProperty(const QString& Name) const;
  // The property's type name; empty when there is no such property.
  QString GetPropertyType(const QString& Name) const;
  // The value as text lines; false when there is no such property.
  bool GetPropertyValue(const QString& Name, QStringList& Lines) const;
  // True when the property exists and the text was applied; conversion and storage errors go to
  // OnException and leave the property unchanged.
  bool SetPropertyValue(const QString& Name, const QString& Text);
  bool SetPropertyValue(const QString& Name, const QStringList& Lines);
  // The declaration of a method (a signal or an invokable method of the bound object's class) as
  // "procedure(Sender: QObject*; var CanAdd: bool; const Source: QObject*)" or "function(...): T";
  // empty when there is none.
  QString GetMethodDecl(const QString& Name) const;
  QString GetMethodDeclaration(const QMetaMethod& Method) const;
  // A component by name, which may be qualified with "." ("Form.Editor"): the first part is the
  // root component or one of its children, or a top-level widget; each further part a child.
  QObject* FindComponentEx(const QString& Name) const;

  // ---- Typed access -------------------------------------------------------------------------------
  QVariant ReadProperty(PPropInfo PropInfo) const;
  // Writes through the object's setter; false when the value does not convert or the property is
  // read-only.
  bool WriteProperty(PPropInfo PropInfo, const QVariant& Value);
  int32_t GetIntegerProperty(PPropInfo PropInfo) const;
  int64_t GetInt64Property(PPropInfo PropInfo) const;
  double GetFloatProperty(PPropInfo PropInfo) const;
  // A class-typed value: the model object, or the component.
  TObject* GetClassProperty(PPropInfo PropInfo) const;
  QObject* GetComponentProperty(PPropInfo PropInfo) const;
  // A set as the mask of its element bits.
  uint32_t GetSetProperty(PPropInfo PropInfo) const;
  void SetIntegerProperty(PPropInfo PropInfo, int32_t Value);
  void SetInt64Property(PPropInfo PropInfo, int64_t Value);
  void SetSetProperty(PPropInfo PropInfo, uint32_t Mask);

  // Value to text.
  QString EvalIntegerProperty(PPropInfo PropInfo) const;
  QString EvalCharProperty(PPropInfo PropInfo) const;
  QString EvalEnumProperty(PPropInfo PropInfo) const;
  QString EvalFloatProperty(PPropInfo PropInfo) const;
  QString EvalStringProperty(PPropInfo PropInfo) const;
  QString EvalSetProperty(PPropInfo PropInfo) const;
  QString EvalMethodProperty(PPropInfo PropInfo) const;
  void EvalClassProperty(PPropInfo PropInfo, QStringList& Lines) const;
  void EvalAnyProperty(PPropInfo PropInfo, QStringList& Lines) const;
  // Text to value; each raises EConvertError for text it cannot take.
  void ModifyIntegerProperty(PPropInfo PropInfo, const QString& Text);
  void ModifyCharProperty(PPropInfo PropInfo, const QString& Text);
  void ModifyEnumProperty(PPropInfo PropInfo, const QString& Text);
  void ModifyFloatProperty(PPropInfo PropInfo, const QString& Text);
  void ModifyStringProperty(PPropInfo PropInfo, const QString& Text);
  void ModifySetProperty(PPropInfo PropInfo, const QString& Text);
  // Dispatches by kind; classes, methods and records are not changed (false).
  bool ModifyAnyProperty(PPropInfo PropInfo, const QString& Text);

  // Reports an error through OnException (or the debug log when it is not assigned).
  void DoException(const Exception& E);

  TExceptionEvent OnException;
  TBeforeEvalPropertyEvent OnBeforeEvalProperty;
  // Handed to the category list.
  TAddCategoryEvent OnBeforeAddCategory;

 Q_SIGNALS:
  // The bound object was destroyed; the inspector has let go of it.
  void ObjectDestroyed();
  // The bound object (a shape, or the shape its style or point belongs to) changed.
  void ObjectChanged();

 private:
  void Bind(TObject* Object, QObject* QtObject);
  void Unbind();
  void ObjectGone();
  void Watch();
  void Rebuild();
  // Raises EConvertError unless the write succeeded.
  void Store(PPropInfo PropInfo, const QVariant& Value, const QString& Text);

  TObject* FObject = nullptr;
  QPointer<QObject> FQObject;
  QPointer<QObject> FRoot;
  QString FClassName;
  TTypeKinds FFilter;
  TOwned<TPropInfoList> FPropList;
  TOwned<TCategoryList> FCategories;
  TOwned<TKxDeShapeNotifier> FNotifier;
  QMetaObject::Connection FDestroyedConnection;
};

// The shape a model object belongs to: the shape itself, the shape of a style, point, handle or
// picture, or none.
TKxDeShapeBase* OwningShape(TObject* Object);

}  // namespace vorn
