#pragma once
// TSet<E>: a set of enumeration values held as a 32-bit mask of their ordinals, with the
// text form "[a,b]" used by the inspector and the undo records.

#include <QMetaEnum>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace vorn {

template <class E>
concept SetElement = std::is_enum_v<E>;

template <SetElement E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Values) {
    for (E v : Values) Include(v);
  }
  static constexpr TSet FromInt(uint32_t Mask) {
    TSet s;
    s.FMask = Mask;
    return s;
  }

  constexpr bool Contains(E Value) const { return (FMask & Bit(Value)) != 0; }
  constexpr TSet& Include(E Value) { FMask |= Bit(Value); return *this; }
  constexpr TSet& Exclude(E Value) { FMask &= ~Bit(Value); return *this; }
  constexpr bool Empty() const { return FMask == 0; }
  constexpr uint32_t ToInt() const { return FMask; }

  constexpr TSet operator+(TSet Other) const { return FromInt(FMask | Other.FMask); }
  constexpr TSet operator-(TSet Other) const { return FromInt(FMask & ~Other.FMask); }
  constexpr TSet operator*(TSet Other) const { return FromInt(FMask & Other.FMask); }
  constexpr TSet operator+(E Value) const { return FromInt(FMask | Bit(Value)); }
  constexpr TSet operator-(E Value) const { return FromInt(FMask & ~Bit(Value)); }
  constexpr TSet& operator+=(TSet Other) { FMask |= Other.FMask; return *this; }
  constexpr TSet& operator-=(TSet Other) { FMask &= ~Other.FMask; return *this; }
  constexpr TSet& operator*=(TSet Other) { FMask &= Other.FMask; return *this; }
  constexpr TSet& operator+=(E Value) { return Include(Value); }
  constexpr TSet& operator-=(E Value) { return Exclude(Value); }
  // True when every member of this set is in Other.
  constexpr bool operator<=(TSet Other) const { return (FMask & ~Other.FMask) == 0; }
  friend constexpr bool operator==(TSet, TSet) = default;

  // "[kxskShift,kxskCtrl]": members in ordinal order, names from the registered enumeration.
  QString ToText() const {
    const QMetaEnum meta = QMetaEnum::fromType<E>();
    QStringList names;
    for (int i = 0; i < 32; ++i) {
      if (FMask & (1u << i)) {
        const char* key = meta.valueToKey(i);
        names << (key ? QString::fromLatin1(key) : QString::number(i));
      }
    }
    return QLatin1Char('[') + names.join(QLatin1Char(',')) + QLatin1Char(']');
  }

  // Reads the text form back; names are matched exactly, blanks around them are ignored.
  // Returns false (and leaves Result alone) when a member is unknown or the brackets are missing.
  static bool FromText(const QString& Text, TSet& Result) {
    const QString t = Text.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']'))) return false;
    const QMetaEnum meta = QMetaEnum::fromType<E>();
    TSet s;
    const QString inner = t.mid(1, t.size() - 2);
    for (const QString& part : inner.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      bool ok = false;
      const int v = meta.keyToValue(part.trimmed().toLatin1().constData(), &ok);
      if (!ok || v < 0 || v > 31) return false;
      s.FMask |= 1u << v;
    }
    Result = s;
    return true;
  }

 private:
  static constexpr uint32_t Bit(E Value) { return 1u << static_cast<uint32_t>(Value); }
  uint32_t FMask = 0;
};

// ---- Sets as published properties ----------------------------------------------------------------
// A Q_PROPERTY of a set type works once the type is registered here: QVariant then converts it to
// and from its text form and to and from its mask (uint), so it is read and written by name like
// any other property, and the inspector finds the element enumeration from the property's type.
// The engine's own set types are registered when the library loads.

// How a set type is published: its meta type, its element enumeration and its name.
struct TSetTypeInfo {
  QMetaType Type;       // TSet<E>
  QMetaEnum Elements;   // E
  const char* Name;     // the published type name ("TFontStyles")
};

// The registration of a set type, or null when Type is not a registered set.
const TSetTypeInfo* FindSetType(QMetaType Type);
// Records a set type; false when it was recorded before. RegisterSetType adds the converters.
bool AddSetTypeInfo(const TSetTypeInfo& Info);

template <SetElement E>
void RegisterSetType(const char* Name) {
  using S = TSet<E>;
  const QMetaType type = QMetaType::fromType<S>();
  if (!AddSetTypeInfo({type, QMetaEnum::fromType<E>(), Name})) return;
  QMetaType::registerConverterFunction(
      [](const void* From, void* To) {
        *static_cast<QString*>(To) = static_cast<const S*>(From)->ToText();
        return true;
      },
      type, QMetaType::fromType<QString>());
  QMetaType::registerConverterFunction(
      [](const void* From, void* To) { return S::FromText(*static_cast<const QString*>(From), *static_cast<S*>(To)); },
      QMetaType::fromType<QString>(), type);
  QMetaType::registerConverterFunction(
      [](const void* From, void* To) {
        *static_cast<uint*>(To) = static_cast<const S*>(From)->ToInt();
        return true;
      },
      type, QMetaType::fromType<uint>());
  QMetaType::registerConverterFunction(
      [](const void* From, void* To) {
        *static_cast<S*>(To) = S::FromInt(*static_cast<const uint*>(From));
        return true;
      },
      QMetaType::fromType<uint>(), type);
}

// Name of an enumeration value registered with Q_ENUM_NS (empty for an unknown ordinal).
template <SetElement E>
QString EnumToText(E Value) {
  const char* key = QMetaEnum::fromType<E>().valueToKey(static_cast<int>(Value));
  return key ? QString::fromLatin1(key) : QString();
}

// Reads a value by name; false when the name is unknown.
template <SetElement E>
bool TextToEnum(const QString& Text, E& Result) {
  bool ok = false;
  const int v = QMetaEnum::fromType<E>().keyToValue(Text.trimmed().toLatin1().constData(), &ok);
  if (ok) Result = static_cast<E>(v);
  return ok;
}

// Number of values of a registered enumeration.
template <SetElement E>
int EnumCount() { return QMetaEnum::fromType<E>().keyCount(); }

}  // namespace vorn
