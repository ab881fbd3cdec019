#pragma once
// The root of the engine's object model.
//
// Every model class declares itself with VORN_OBJECT(Class), which is Q_GADGET (published
// properties through Q_PROPERTY, names through the meta-object) plus a virtual metaObject() and
// the class reference ClassType(). Objects are made with Create<T>(args...), which constructs and
// then calls the virtual AfterConstruction(), and destroyed with Free(obj), which calls the virtual
// BeforeDestruction() before deleting: an owner is told and the object detached before its parts go.

#include <QMetaObject>
#include <QString>

#include <concepts>
#include <memory>
#include <type_traits>
#include <utility>

namespace vorn {

class TObject;
class TClass;

template <class T>
const TClass* ClassOf();

// A class reference: the class's meta-object, its parent and its virtual constructor.
class TClass {
 public:
  // A type-erased constructor; each family of classes defines the signature it stores.
  using TAnyConstructor = void (*)();

  TClass(const QMetaObject* Meta, const TClass* (*Parent)(), TAnyConstructor Constructor)
      : FMeta(Meta), FParent(Parent), FConstructor(Constructor) {}

  // The class name without namespace ("TKxDeShape").
  QString ClassName() const;
  const QMetaObject* MetaObject() const { return FMeta; }
  const TClass* ClassParent() const { return FParent ? FParent() : nullptr; }
  // True when this class is Other or derives from it.
  bool InheritsFrom(const TClass* Other) const;

  // The stored virtual constructor, called with the signature of the family F: F declares
  // `using TConstructor = F* (*)(Args...)`. Null when the class is abstract or of another family.
  template <class F, class... A>
  F* Construct(A&&... Args) const {
    if (!FConstructor) return nullptr;
    return reinterpret_cast<typename F::TConstructor>(FConstructor)(std::forward<A>(Args)...);
  }
  bool CanConstruct() const { return FConstructor != nullptr; }

 private:
  const QMetaObject* FMeta;
  const TClass* (*FParent)();
  TAnyConstructor FConstructor;
};

// Class name of a meta-object without its namespace.
QString ClassNameOf(const QMetaObject* Meta);

class TObject {
  Q_GADGET

 public:
  using inherited = void;

  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  virtual const QMetaObject* metaObject() const { return &staticMetaObject; }
  virtual const TClass* ClassType() const;
  QString ClassName() const { return ClassNameOf(metaObject()); }
  bool InheritsFrom(const TClass* Class) const { return ClassType()->InheritsFrom(Class); }

  // Constructor steps that need virtual dispatch run here, right after construction.
  virtual void AfterConstruction() {}
  // Runs before destruction while the object is still whole: detach, notify.
  virtual void BeforeDestruction() {}

 protected:
  virtual ~TObject() = default;

  template <class T>
  friend void Free(T*& Object);
  template <class T>
  friend void FreeObject(T* Object);
  template <class T, class... A>
  friend T* Create(A&&... Args);
};

// An object that can copy the state of another of its kind.
class TPersistent : public TObject {
  Q_GADGET

 public:
  using inherited = TObject;
  const QMetaObject* metaObject() const override { return &staticMetaObject; }
  const TClass* ClassType() const override;

  // Copies Source into this object; the default asks Source to assign itself to this.
  virtual void Assign(const TPersistent* Source);

 protected:
  // Copies this object into Dest; raises when the classes cannot be assigned.
  virtual void AssignTo(TPersistent* Dest) const;
};

// Declares a class of the object model: Q_GADGET, its parent (`inherited`), the virtual
// metaObject() and ClassType(). Put it first in the class body, on a line of its own.
#define VORN_OBJECT(Class, Parent)                                                   \
  Q_GADGET                                                                           \
 public:                                                                             \
  using inherited = Parent;                                                          \
  const QMetaObject* metaObject() const override { return &staticMetaObject; }       \
  const ::vorn::TClass* ClassType() const override { return ::vorn::ClassOf<Class>(); } \
                                                                                     \
 private:

namespace detail {

template <class T>
concept HasFamilyConstructor = requires { typename T::TConstructor; &T::template NewInstance<T>; };

template <class T>
const TClass* ParentOf() {
  if constexpr (std::is_void_v<typename T::inherited>) {
    return nullptr;
  } else {
    return ClassOf<typename T::inherited>();
  }
}

}  // namespace detail

// The class reference of T. A family base that supports virtual construction declares
// `using TConstructor = Base* (*)(Args...)` and a `template <class T> static Base* NewInstance(Args...)`.
template <class T>
const TClass* ClassOf() {
  static const TClass cls(&T::staticMetaObject, &detail::ParentOf<T>, [] {
    if constexpr (!std::is_abstract_v<T> && detail::HasFamilyConstructor<T>) {
      typename T::TConstructor ctor = &T::template NewInstance<T>;
      return reinterpret_cast<TClass::TAnyConstructor>(ctor);
    } else {
      return static_cast<TClass::TAnyConstructor>(nullptr);
    }
  }());
  return &cls;
}

// Constructs T and runs its AfterConstruction; an exception there deletes the half-made object.
template <class T, class... A>
T* Create(A&&... Args) {
  T* obj = new T(std::forward<A>(Args)...);
  try {
    obj->AfterConstruction();
  } catch (...) {
    delete static_cast<TObject*>(obj);
    throw;
  }
  return obj;
}

// Destroys an object (null is fine): BeforeDestruction, then delete; the pointer is cleared.
template <class T>
void Free(T*& Object) {
  if (!Object) return;
  TObject* obj = Object;
  Object = nullptr;
  obj->BeforeDestruction();
  delete obj;
}

// The same for a pointer that need not be cleared.
template <class T>
void FreeObject(T* Object) {
  Free(Object);
}

// Lets std::unique_ptr own model objects.
struct TFreeDeleter {
  template <class T>
  void operator()(T* Object) const { FreeObject(Object); }
};

template <class T>
using TOwned = std::unique_ptr<T, TFreeDeleter>;

}  // namespace vorn
