#include "vorn/inspector/MObjectInspector.h"

#include "vorn/common/Finally_p.h"
#include "vorn/common/KxDePicture.h"
#include "vorn/common/PackageSettings.h"
#include "PropertyTree_p.h"
#include "vorn/model/KxDeControl.h"
#include "vorn/model/KxDePoint.h"
#include "vorn/model/KxDeShapeBase.h"
#include "vorn/model/KxDeShapeFont.h"
#include "vorn/model/KxDeShapeGradient.h"
#include "vorn/model/KxDeShapeNotifier.h"
#include "vorn/surface/KxDeSurface.h"

#include <QApplication>
#include <QMetaMethod>
#include <QWidget>

#include <cfloat>
#include <cmath>
#include <limits>

namespace vorn {

Q_LOGGING_CATEGORY(lcPropertyTree, "vorn.properties", QtWarningMsg)

namespace {

const QChar kLineMark(0x21B5);  // ↵

[[noreturn]] void RaiseConvert(const QString& Message) { throw EConvertError(Message); }

template <class T>
void BoundsOf(double& Min, double& Max) {
  Min = static_cast<double>(std::numeric_limits<T>::lowest());
  Max = static_cast<double>(std::numeric_limits<T>::max());
}

}  // namespace

void IntegerBounds(PPropInfo PropInfo, double& Min, double& Max) {
  switch (PropInfo->Property.metaType().id()) {
    case QMetaType::UInt: return BoundsOf<uint32_t>(Min, Max);
    case QMetaType::Short: return BoundsOf<int16_t>(Min, Max);
    case QMetaType::UShort: return BoundsOf<uint16_t>(Min, Max);
    case QMetaType::UChar: return BoundsOf<uint8_t>(Min, Max);
    case QMetaType::SChar: return BoundsOf<int8_t>(Min, Max);
    case QMetaType::Long:
    case QMetaType::LongLong: return BoundsOf<int64_t>(Min, Max);
    case QMetaType::ULong:
    case QMetaType::ULongLong: return BoundsOf<uint64_t>(Min, Max);
    default: return BoundsOf<int32_t>(Min, Max);
  }
}

namespace {

bool IsUnsigned(PPropInfo P) {
  double lo = 0, hi = 0;
  IntegerBounds(P, lo, hi);
  return lo == 0;
}

}  // namespace

QString LineBreaksToMarks(const QString& Text) {
  QString s = Text;
  s.replace(QLatin1String("\r\n"), QString(kLineMark));
  s.replace(QLatin1Char('\n'), kLineMark);
  return s;
}

QString MarksToLineBreaks(const QString& Text) {
  QString s = Text;
  return s.replace(kLineMark, QLatin1Char('\n'));
}

TKxDeShapeBase* OwningShape(TObject* Object) {
  if (!Object) return nullptr;
  if (auto* s = dynamic_cast<TKxDeShapeBase*>(Object)) return s;
  if (auto* p = dynamic_cast<TKxDeShapePen*>(Object)) return p->Owner();
  if (auto* b = dynamic_cast<TKxDeShapeBrush*>(Object)) return b->Owner();
  if (auto* f = dynamic_cast<TKxDeShapeFont*>(Object)) return f->Owner();
  if (auto* f = dynamic_cast<TmekFont*>(Object)) return f->Owner();
  if (auto* g = dynamic_cast<TKxDeShapeGradient*>(Object)) return g->Owner();
  if (auto* p = dynamic_cast<TKxDePicture*>(Object)) return dynamic_cast<TKxDeShapeBase*>(p->Owner());
  if (auto* p = dynamic_cast<TKxDePoint*>(Object)) return p->GetOwner();
  if (auto* c = dynamic_cast<TKxDePointControl*>(Object)) return c->GetOwner() ? c->GetOwner()->GetOwner() : nullptr;
  if (auto* c = dynamic_cast<TKxDeControl*>(Object)) return c->GetOwner();
  return nullptr;
}

const TClass* TMObjectInspector::ClassType() const { return ClassOf<TMObjectInspector>(); }

TTypeKinds TMObjectInspector::DefaultFilter() { return TTypeKinds::FromInt(0xFFFFFFFFu) - TTypeKind::tkMethod; }

TMObjectInspector::TMObjectInspector(QObject* AOwner)
    : QObject(AOwner),
      FFilter(DefaultFilter()),
      FPropList(Create<TPropInfoList>(static_cast<const QMetaObject*>(nullptr), FFilter)),
      FCategories(Create<TCategoryList>()) {
  FCategories->OnBeforeAddCategory = [this](TObject* Sender, const QString& Category, bool& CanAdd) {
    CallEvent(OnBeforeAddCategory, Sender, Category, CanAdd);
  };
}

TMObjectInspector::~TMObjectInspector() { Unbind(); }

// ---- Binding ----------------------------------------------------------------------------------------

void TMObjectInspector::SetObject(TObject* Object) { Bind(Object, Object ? dynamic_cast<QObject*>(Object) : nullptr); }

void TMObjectInspector::SetObject(QObject* Object) { Bind(Object ? dynamic_cast<TObject*>(Object) : nullptr, Object); }

void TMObjectInspector::Bind(TObject* Object, QObject* QtObject) {
  Unbind();
  FObject = Object;
  FQObject = QtObject;
  FRoot = QtObject ? (QtObject->parent() ? QtObject->parent() : QtObject) : parent();
  Rebuild();
  Watch();
}

void TMObjectInspector::Unbind() {
  if (FDestroyedConnection) disconnect(FDestroyedConnection);
  if (FNotifier) FNotifier->UnregisterAll();
  FObject = nullptr;
  FQObject = nullptr;
}

void TMObjectInspector::Watch() {
  if (FQObject) {
    FDestroyedConnection = connect(FQObject.data(), &QObject::destroyed, this, [this] { ObjectGone(); });
    return;
  }
  TKxDeShapeBase* shape = OwningShape(FObject);
  if (!shape) return;
  if (!FNotifier) {
    FNotifier.reset(Create<TKxDeShapeNotifier>());
    FNotifier->OnDestroy = [this](TObject*, TKxDeShapeBase*) { ObjectGone(); };
    FNotifier->OnChange = [this](TObject*, TKxDeShapeBase*) { Q_EMIT ObjectChanged(); };
  }
  FNotifier->RegisterShape(shape);
}

void TMObjectInspector::ObjectGone() {
  Unbind();
  Rebuild();
  Q_EMIT ObjectDestroyed();
}

void TMObjectInspector::SetFilter(TTypeKinds Kinds) {
  if (Kinds == FFilter) return;
  FFilter = Kinds;
  Rebuild();
}

void TMObjectInspector::Rebuild() {
  FCategories->Clear();
  const QMetaObject* meta = FQObject ? FQObject->metaObject() : (FObject ? FObject->metaObject() : nullptr);
  FClassName = meta ? ClassNameOf(meta) : QString();
  FPropList.reset(Create<TPropInfoList>(meta, FFilter));
  for (int32_t i = 0; i < FPropList->Count(); ++i) {
    PPropInfo p = FPropList->Get(i);
    bool show = true;
    CallEvent(OnBeforeEvalProperty, p, show);
    if (show) FCategories->Add(CategoryCaption(p->Category), p);
  }
}

int32_t TMObjectInspector::PropertyCount() const {
  int32_t n = 0;
  for (int32_t i = 0; i < FCategories->Count(); ++i) n += FCategories->GetPropInfoItemsCount(i);
  return n;
}

// ---- By name ----------------------------------------------------------------------------------------

PPropInfo TMObjectInspector::GetProperty(const QString& Name) const { return FPropList->Find(Name); }

QString TMObjectInspector::GetPropertyType(const QString& Name) const {
  PPropInfo p = GetProperty(Name);
  return p ? p->TypeName : QString();
}

bool TMObjectInspector::GetPropertyValue(const QString& Name, QStringList& Lines) const {
  PPropInfo p = GetProperty(Name);
  if (!p) return false;
  EvalAnyProperty(p, Lines);
  return true;
}

bool TMObjectInspector::SetPropertyValue(const QString& Name, const QString& Text) {
  PPropInfo p = GetProperty(Name);
  if (!p || !HasObject()) return false;
  try {
    return ModifyAnyProperty(p, Text);
  } catch (const Exception& e) {
    DoException(e);
  } catch (const std::exception& e) {
    DoException(Exception(QString::fromUtf8(e.what())));
  }
  return false;
}

bool TMObjectInspector::SetPropertyValue(const QString& Name, const QStringList& Lines) {
  return SetPropertyValue(Name, Lines.join(QLatin1Char('\n')));
}

QString TMObjectInspector::GetMethodDecl(const QString& Name) const {
  const QMetaObject* meta = FQObject ? FQObject->metaObject() : (FObject ? FObject->metaObject() : nullptr);
  if (!meta) return {};
  for (int i = meta->methodCount() - 1; i >= 0; --i) {
    const QMetaMethod m = meta->method(i);
    if (QString::fromLatin1(m.name()).compare(Name, Qt::CaseInsensitive) == 0) return GetMethodDeclaration(m);
  }
  return {};
}

QString TMObjectInspector::GetMethodDeclaration(const QMetaMethod& Method) const {
  QStringList params;
  const QList<QByteArray> names = Method.parameterNames();
  for (int i = 0; i < Method.parameterCount(); ++i) {
    QString type = QString::fromLatin1(Method.parameterTypeName(i));
    QString name =
        i < names.size() && !names[i].isEmpty() ? QString::fromLatin1(names[i]) : QStringLiteral("Param%1").arg(i + 1);
    // Signatures are normalised: a reference the callee may change stays "T&", a constant one
    // becomes a value; what a pointer points to may be constant.
    QString prefix;
    if (type.endsWith(QLatin1Char('&'))) {
      type.chop(1);
      prefix = QStringLiteral("var ");
    } else if (type.startsWith(QLatin1String("const "))) {
      type = type.mid(6);
      prefix = QStringLiteral("const ");
    }
    params << prefix + name + QStringLiteral(": ") + type;
  }
  const QString list = QLatin1Char('(') + params.join(QStringLiteral("; ")) + QLatin1Char(')');
  if (Method.returnType() == QMetaType::Void) return QStringLiteral("procedure") + list;
  return QStringLiteral("function") + list + QStringLiteral(": ") + QString::fromLatin1(Method.typeName());
}

QObject* TMObjectInspector::FindComponentEx(const QString& Name) const {
  const auto named = [](QObject* O, const QString& N) {
    return O && O->objectName().compare(N, Qt::CaseInsensitive) == 0;
  };
  const auto child = [&](QObject* Parent, const QString& N) -> QObject* {
    if (!Parent) return nullptr;
    for (QObject* c : Parent->children())
      if (named(c, N)) return c;
    return nullptr;
  };
  const QStringList parts = Name.split(QLatin1Char('.'));
  if (Name.isEmpty()) return nullptr;
  QObject* found = named(FRoot, parts[0]) ? FRoot.data() : child(FRoot, parts[0]);
  if (!found && qobject_cast<QApplication*>(QCoreApplication::instance()))
    for (QWidget* w : QApplication::topLevelWidgets())
      if (named(w, parts[0])) found = w;
  for (qsizetype i = 1; found && i < parts.size(); ++i) found = child(found, parts[i]);
  return found;
}

// ---- Typed access -----------------------------------------------------------------------------------

QVariant TMObjectInspector::ReadProperty(PPropInfo PropInfo) const {
  if (!PropInfo) return {};
  if (FQObject) return PropInfo->Property.read(FQObject);
  // Model objects derive from TObject alone, so the object is where its class's properties are.
  if (FObject) return PropInfo->Property.readOnGadget(FObject);
  return {};
}

namespace {

// The shape an edited model object belongs to: the shape itself or the owner of its style.
TKxDeShapeBase* EditedShape(TObject* Object) {
  if (auto* s = dynamic_cast<TKxDeShapeBase*>(Object)) return s;
  if (auto* b = dynamic_cast<TKxDeShapeBrush*>(Object)) return b->Owner();
  if (auto* p = dynamic_cast<TKxDeShapePen*>(Object)) return p->Owner();
  if (auto* f = dynamic_cast<TKxDeShapeFont*>(Object)) return f->Owner();
  if (auto* g = dynamic_cast<TKxDeShapeGradient*>(Object)) return g->Owner();
  return nullptr;
}

}  // namespace

bool TMObjectInspector::WriteProperty(PPropInfo PropInfo, const QVariant& Value) {
  if (!PropInfo || PropInfo->ReadOnly()) return false;
  if (FQObject) return PropInfo->Property.write(FQObject, Value);
  if (!FObject) return false;
  // One edit is one step of the editor's undo, however many records the change makes.
  TKxDeShapeBase* shape = EditedShape(FObject);
  TKxDeSurface* surface = shape ? shape->GetSurface() : nullptr;
  if (surface) surface->BeginUndoGroup();
  TFinally group([surface] {
    if (surface) surface->EndUndoGroup();
  });
  return PropInfo->Property.writeOnGadget(FObject, Value);
}

int32_t TMObjectInspector::GetIntegerProperty(PPropInfo PropInfo) const { return ReadProperty(PropInfo).toInt(); }
int64_t TMObjectInspector::GetInt64Property(PPropInfo PropInfo) const { return ReadProperty(PropInfo).toLongLong(); }
double TMObjectInspector::GetFloatProperty(PPropInfo PropInfo) const { return ReadProperty(PropInfo).toDouble(); }

TObject* TMObjectInspector::GetClassProperty(PPropInfo PropInfo) const {
  if (!PropInfo || PropInfo->Kind != TTypeKind::tkClass) return nullptr;
  const QVariant v = ReadProperty(PropInfo);
  if (PropInfo->IsQObject) return dynamic_cast<TObject*>(v.value<QObject*>());
  // A model class: single inheritance from TObject, so the object starts with its TObject part.
  if (!(v.metaType().flags() & QMetaType::PointerToGadget) || !PropInfo->ClassMeta ||
      !PropInfo->ClassMeta->inherits(&TObject::staticMetaObject))
    return nullptr;
  return static_cast<TObject*>(*static_cast<void* const*>(v.constData()));
}

QObject* TMObjectInspector::GetComponentProperty(PPropInfo PropInfo) const {
  if (!PropInfo || !PropInfo->IsQObject) return nullptr;
  return ReadProperty(PropInfo).value<QObject*>();
}

uint32_t TMObjectInspector::GetSetProperty(PPropInfo PropInfo) const { return ReadProperty(PropInfo).toUInt(); }

void TMObjectInspector::SetIntegerProperty(PPropInfo PropInfo, int32_t Value) { WriteProperty(PropInfo, Value); }
void TMObjectInspector::SetInt64Property(PPropInfo PropInfo, int64_t Value) {
  WriteProperty(PropInfo, QVariant::fromValue<qlonglong>(Value));
}

void TMObjectInspector::SetSetProperty(PPropInfo PropInfo, uint32_t Mask) {
  if (PropInfo->Property.isFlagType()) WriteProperty(PropInfo, static_cast<int>(Mask));
  else WriteProperty(PropInfo, QVariant::fromValue<uint>(Mask));
}

// ---- Value to text ----------------------------------------------------------------------------------

QString TMObjectInspector::EvalIntegerProperty(PPropInfo PropInfo) const {
  const QVariant v = ReadProperty(PropInfo);
  return IsUnsigned(PropInfo) ? QString::number(v.toULongLong()) : QString::number(v.toLongLong());
}

QString TMObjectInspector::EvalCharProperty(PPropInfo PropInfo) const {
  const QVariant v = ReadProperty(PropInfo);
  const QChar c = PropInfo->Kind == TTypeKind::tkChar ? QChar(static_cast<uchar>(v.value<char>())) : v.toChar();
  return c.isNull() ? QString() : QString(c);
}

QString TMObjectInspector::EvalEnumProperty(PPropInfo PropInfo) const {
  const QVariant v = ReadProperty(PropInfo);
  if (PropInfo->IsBoolean) return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  const int value = v.toInt();
  const char* key = PropInfo->Enum.valueToKey(value);
  return key ? QString::fromLatin1(key) : QString::number(value);
}

QString TMObjectInspector::EvalFloatProperty(PPropInfo PropInfo) const {
  return QString::number(ReadProperty(PropInfo).toDouble(), 'g', PropInfo->IsSingle ? 7 : 15);
}

QString TMObjectInspector::EvalStringProperty(PPropInfo PropInfo) const { return ReadProperty(PropInfo).toString(); }

QString TMObjectInspector::EvalSetProperty(PPropInfo PropInfo) const {
  // The text names the first sixteen elements only; the element rows show them all.
  const uint32_t mask = GetSetProperty(PropInfo);
  QStringList names;
  const size_t n = std::min<size_t>(PropInfo->Elements.size(), 16);
  for (size_t i = 0; i < n; ++i)
    if (mask & PropInfo->Elements[i].Bit) names << PropInfo->Elements[i].Name;
  return QLatin1Char('[') + names.join(QLatin1Char(',')) + QLatin1Char(']');
}

void TMObjectInspector::EvalClassProperty(PPropInfo PropInfo, QStringList& Lines) const {
  if (PropInfo->TypeName == QLatin1String("TFont") && !PropInfo->ClassMeta) {
    Lines << QStringLiteral("(TFont)");
  } else if (PropInfo->IsQObject) {
    if (QObject* c = GetComponentProperty(PropInfo)) {
      QObject* owner = c->parent();
      Lines << (owner && owner != FRoot ? owner->objectName() + QLatin1Char('.') + c->objectName() : c->objectName());
    }
  } else if (TObject* o = GetClassProperty(PropInfo)) {
    Lines << QLatin1Char('(') + o->ClassName() + QLatin1Char(')');
  }
}

void TMObjectInspector::EvalAnyProperty(PPropInfo PropInfo, QStringList& Lines) const {
  Lines.clear();
  if (!PropInfo || !HasObject()) return;
  switch (PropInfo->Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64: Lines << EvalIntegerProperty(PropInfo); break;
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar: Lines << EvalCharProperty(PropInfo); break;
    case TTypeKind::tkEnumeration: Lines << EvalEnumProperty(PropInfo); break;
    case TTypeKind::tkFloat: Lines << EvalFloatProperty(PropInfo); break;
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
    case TTypeKind::tkWString:
    case TTypeKind::tkUString: Lines = EvalStringProperty(PropInfo).split(QLatin1Char('\n')); break;
    case TTypeKind::tkVariant: Lines << ReadProperty(PropInfo).toString(); break;
    case TTypeKind::tkSet: Lines << EvalSetProperty(PropInfo); break;
    case TTypeKind::tkClass: EvalClassProperty(PropInfo, Lines); break;
    default: {
      const QVariant v = ReadProperty(PropInfo);
      Lines << (v.canConvert<QString>() ? v.toString() : QLatin1Char('(') + PropInfo->TypeName + QLatin1Char(')'));
    }
  }
}

// ---- Text to value ----------------------------------------------------------------------------------

void TMObjectInspector::Store(PPropInfo PropInfo, const QVariant& Value, const QString& Text) {
  if (PropInfo->ReadOnly()) RaiseConvert(QStringLiteral("Property %1 is read-only").arg(PropInfo->Name));
  if (!WriteProperty(PropInfo, Value))
    RaiseConvert(QStringLiteral("'%1' is not a valid value for %2").arg(Text, PropInfo->Name));
}

void TMObjectInspector::ModifyIntegerProperty(PPropInfo PropInfo, const QString& Text) {
  // Text that is no number of the property's type stores 0.
  double lo = 0, hi = 0;
  IntegerBounds(PropInfo, lo, hi);
  bool ok = false;
  QVariant value;
  if (IsUnsigned(PropInfo)) {
    const qulonglong v = Text.trimmed().toULongLong(&ok);
    value = QVariant::fromValue<qulonglong>(ok && static_cast<double>(v) <= hi ? v : 0);
  } else {
    const qlonglong v = Text.trimmed().toLongLong(&ok);
    value = QVariant::fromValue<qlonglong>(ok && v >= lo && v <= hi ? v : 0);
  }
  Store(PropInfo, value, Text);
}

void TMObjectInspector::ModifyCharProperty(PPropInfo PropInfo, const QString& Text) {
  const QChar c = Text.isEmpty() ? QChar() : Text.at(0);
  if (PropInfo->Kind == TTypeKind::tkChar) Store(PropInfo, QVariant::fromValue(static_cast<char>(c.toLatin1())), Text);
  else Store(PropInfo, QVariant::fromValue(c), Text);
}

void TMObjectInspector::ModifyEnumProperty(PPropInfo PropInfo, const QString& Text) {
  const QString t = Text.trimmed();
  if (PropInfo->IsBoolean) {
    for (bool b : {false, true})
      if (t.compare(b ? QLatin1String("True") : QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return Store(PropInfo, b, Text);
  } else {
    const int n = std::min(PropInfo->Enum.keyCount(), 256);
    for (int i = 0; i < n; ++i)
      if (t.compare(QLatin1String(PropInfo->Enum.key(i)), Qt::CaseInsensitive) == 0)
        return Store(PropInfo, PropInfo->Enum.value(i), Text);
  }
  RaiseConvert(QStringLiteral("'%1' is not a valid %2 value").arg(Text, PropInfo->TypeName));
}

void TMObjectInspector::ModifyFloatProperty(PPropInfo PropInfo, const QString& Text) {
  QString t = Text.trimmed();
  const QChar sep = kxdPackageSettings().kxdSysDecimalSeparator;
  if (sep != QLatin1Char('.')) t.replace(sep, QLatin1Char('.'));
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v)) RaiseConvert(QStringLiteral("'%1' is not a valid floating point value").arg(Text));
  if (PropInfo->IsSingle && std::abs(v) > FLT_MAX)
    RaiseConvert(QStringLiteral("'%1' is out of range for a Single value").arg(Text));
  Store(PropInfo, v, Text);
}

void TMObjectInspector::ModifyStringProperty(PPropInfo PropInfo, const QString& Text) { Store(PropInfo, Text, Text); }

void TMObjectInspector::ModifySetProperty(PPropInfo PropInfo, const QString& Text) {
  QString t = Text.trimmed();
  if (t.startsWith(QLatin1Char('['))) t.remove(0, 1);
  if (t.endsWith(QLatin1Char(']'))) t.chop(1);
  uint32_t mask = 0;
  for (const QString& part : t.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QString name = part.trimmed();
    const auto it = std::find_if(PropInfo->Elements.begin(), PropInfo->Elements.end(), [&](const TSetElementInfo& e) {
      return e.Name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == PropInfo->Elements.end())
      RaiseConvert(QStringLiteral("'%1' is not an element of %2").arg(name, PropInfo->TypeName));
    mask |= it->Bit;
  }
  if (PropInfo->ReadOnly()) RaiseConvert(QStringLiteral("Property %1 is read-only").arg(PropInfo->Name));
  SetSetProperty(PropInfo, mask);
}

bool TMObjectInspector::ModifyAnyProperty(PPropInfo PropInfo, const QString& Text) {
  switch (PropInfo->Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64: ModifyIntegerProperty(PropInfo, Text); return true;
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar: ModifyCharProperty(PropInfo, Text); return true;
    case TTypeKind::tkEnumeration: ModifyEnumProperty(PropInfo, Text); return true;
    case TTypeKind::tkFloat: ModifyFloatProperty(PropInfo, Text); return true;
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
    case TTypeKind::tkWString:
    case TTypeKind::tkUString:
    case TTypeKind::tkVariant: ModifyStringProperty(PropInfo, Text); return true;
    case TTypeKind::tkSet: ModifySetProperty(PropInfo, Text); return true;
    default: return false;
  }
}

void TMObjectInspector::DoException(const Exception& E) {
  if (OnException) OnException(this, E);
  else qCDebug(lcPropertyTree) << "properties:" << E.Message();
}

}  // namespace vorn
