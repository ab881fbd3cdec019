#include "vorn/controls/ComponentText_p.h"

#include "vorn/common/Exceptions.h"
#include "vorn/common/Object.h"

#include <QLocale>
#include <QMetaEnum>
#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>
#include <QRegularExpression>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace vorn {

namespace {

// Sub-objects deeper than this are not followed (a published object graph is a shallow tree).
constexpr int kMaxDepth = 8;

// What properties are read from and written to: the control itself or one of its sub-objects.
struct TTarget {
  const QMetaObject* Meta = nullptr;
  QObject* Object = nullptr;  // the control
  void* Gadget = nullptr;     // a sub-object
  int First = 0;              // the first property that belongs to the published state

  QVariant Read(const QMetaProperty& P) const { return Object ? P.read(Object) : P.readOnGadget(Gadget); }
  bool Write(const QMetaProperty& P, const QVariant& V) const {
    return Object ? P.write(Object, V) : P.writeOnGadget(Gadget, V);
  }
};

bool IsSubObject(const QMetaProperty& P) { return P.metaType().flags().testFlag(QMetaType::PointerToGadget); }

// The sub-object a pointer property holds, by its own (dynamic) class. Published sub-objects are
// TObject descendants that start with their TObject part, so the pointer is one to a TObject.
TTarget SubTarget(const QVariant& Value) {
  void* ptr = *static_cast<void* const*>(Value.constData());
  if (!ptr) return {};
  const auto* obj = static_cast<const TObject*>(ptr);
  return TTarget{obj->metaObject(), nullptr, ptr, 0};
}

bool IsIntegral(int Id) {
  switch (Id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return true;
    default: return false;
  }
}

QString QuoteString(const QString& S) {
  if (S.isEmpty()) return QStringLiteral("''");
  QString out;
  bool open = false;
  for (QChar c : S) {
    if (c.unicode() < 32) {
      if (open) out += QLatin1Char('\'');
      open = false;
      out += QLatin1Char('#') + QString::number(c.unicode());
      continue;
    }
    if (!open) out += QLatin1Char('\'');
    open = true;
    out += c == QLatin1Char('\'') ? QStringLiteral("''") : QString(c);
  }
  if (open) out += QLatin1Char('\'');
  return out;
}

bool UnquoteString(const QString& Text, QString& Result) {
  Result.clear();
  qsizetype i = 0;
  const qsizetype n = Text.size();
  if (n == 0) return false;
  while (i < n) {
    if (Text[i] == QLatin1Char('\'')) {
      ++i;
      for (;;) {
        if (i >= n) return false;
        if (Text[i] == QLatin1Char('\'')) {
          if (i + 1 < n && Text[i + 1] == QLatin1Char('\'')) {
            Result += QLatin1Char('\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        Result += Text[i++];
      }
    } else if (Text[i] == QLatin1Char('#')) {
      qsizetype j = i + 1;
      while (j < n && Text[j].isDigit()) ++j;
      bool ok = false;
      const uint code = Text.mid(i + 1, j - i - 1).toUInt(&ok);
      if (!ok || code > 0xFFFF) return false;
      Result += QChar(static_cast<char16_t>(code));
      i = j;
    } else {
      return false;
    }
  }
  return true;
}

// The text of a property value; false for types the text form does not carry.
bool FormatValue(const QMetaProperty& P, const QVariant& V, QString& Text) {
  if (P.isEnumType()) {
    const QMetaEnum e = P.enumerator();
    const int v = V.toInt();
    Text = QString::fromLatin1(P.isFlagType() ? e.valueToKeys(v) : QByteArray(e.valueToKey(v)));
    return !Text.isEmpty() || P.isFlagType();
  }
  const int id = P.metaType().id();
  if (id == QMetaType::Bool) {
    Text = V.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  } else if (IsIntegral(id)) {
    Text = QString::number(V.toLongLong());
  } else if (id == QMetaType::Double || id == QMetaType::Float) {
    Text = QString::number(V.toDouble(), 'g', QLocale::FloatingPointShortest);
  } else if (id == QMetaType::QString) {
    Text = QuoteString(V.toString());
  } else {
    return false;
  }
  return true;
}

// The value of a property's type from its text; an invalid variant when the text does not fit.
QVariant ParseValue(const QMetaProperty& P, const QString& Text) {
  if (P.isEnumType()) {
    const QMetaEnum e = P.enumerator();
    bool ok = false;
    const QByteArray key = Text.toLatin1();
    const int v = P.isFlagType() ? e.keysToValue(key.constData(), &ok) : e.keyToValue(key.constData(), &ok);
    if (!ok) return {};
    QVariant out(v);
    return out.convert(P.metaType()) ? out : QVariant();
  }
  const int id = P.metaType().id();
  if (id == QMetaType::Bool) {
    if (Text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return QVariant(true);
    if (Text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return QVariant(false);
    return {};
  }
  if (IsIntegral(id)) {
    bool ok = false;
    const qlonglong v = Text.toLongLong(&ok);
    if (!ok) return {};
    QVariant out(v);
    // The conversion must keep the value: a number out of the property's range is refused.
    if (!out.convert(P.metaType()) || out.toLongLong() != v) return {};
    return out;
  }
  if (id == QMetaType::Double || id == QMetaType::Float) {
    bool ok = false;
    const double v = Text.toDouble(&ok);
    if (!ok) return {};
    QVariant out(v);
    return out.convert(P.metaType()) ? out : QVariant();
  }
  if (id == QMetaType::QString) {
    QString s;
    return UnquoteString(Text, s) ? QVariant(s) : QVariant();
  }
  return {};
}

void WriteTarget(const TTarget& T, const QString& Prefix, int Depth, QStringList& Lines) {
  for (int i = T.First; i < T.Meta->propertyCount(); ++i) {
    const QMetaProperty p = T.Meta->property(i);
    const QString path = Prefix + QString::fromLatin1(p.name());
    if (IsSubObject(p)) {
      if (Depth >= kMaxDepth) continue;
      const TTarget sub = SubTarget(T.Read(p));
      if (sub.Meta) WriteTarget(sub, path + QLatin1Char('.'), Depth + 1, Lines);
      continue;
    }
    if (!p.isWritable()) continue;
    QString text;
    if (FormatValue(p, T.Read(p), text)) Lines << QStringLiteral("  ") + path + QStringLiteral(" = ") + text;
  }
}

bool DerivesFrom(const QMetaObject* Meta, const QString& ClassName) {
  for (const QMetaObject* m = Meta; m; m = m->superClass())
    if (ClassNameOf(m) == ClassName) return true;
  return false;
}

[[noreturn]] void Fail(int Line, const QString& Message) {
  throw Exception(QStringLiteral("Line %1: %2").arg(Line).arg(Message));
}

}  // namespace

QString WriteComponentText(const QObject* Object, const QMetaObject* Base, const QString& ClassName) {
  QStringList lines;
  // The name is a label for the reader; an object name that is no identifier is replaced.
  static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
  const QString own = Object->objectName();
  const QString name = identifier.match(own).hasMatch() ? own : ClassName.mid(1);
  lines << QStringLiteral("object %1: %2").arg(name, ClassName);
  TTarget root{Object->metaObject(), const_cast<QObject*>(Object), nullptr, Base->propertyCount()};
  WriteTarget(root, QString(), 0, lines);
  lines << QStringLiteral("end");
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

struct TComponentTextReader::TData {
  struct TAssignment {
    TTarget Target;
    QMetaProperty Property;
    QVariant Value;
  };
  std::vector<TAssignment> Assignments;
};

TComponentTextReader::TComponentTextReader(QObject* Object, const QMetaObject* Base, const QString& Text)
    : FData(std::make_unique<TData>()) {
  static const QRegularExpression header(
      QStringLiteral("^object\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*:\\s*([A-Za-z_][A-Za-z0-9_]*)$"));
  static const QRegularExpression assignment(QStringLiteral("^([A-Za-z_][A-Za-z0-9_.]*)\\s*=\\s*(.*)$"));
  const TTarget root{Object->metaObject(), Object, nullptr, Base->propertyCount()};
  const QStringList lines = Text.split(QLatin1Char('\n'));
  bool started = false;
  bool ended = false;
  for (int n = 0; n < lines.size(); ++n) {
    const int lineNo = n + 1;
    const QString line = lines[n].trimmed();
    if (line.isEmpty()) continue;
    if (ended) Fail(lineNo, QStringLiteral("text after \"end\""));
    if (!started) {
      const auto m = header.match(line);
      if (!m.hasMatch()) Fail(lineNo, QStringLiteral("expected \"object Name: Class\""));
      if (!DerivesFrom(Object->metaObject(), m.captured(2)))
        Fail(lineNo, QStringLiteral("the settings of a %1 do not fit a %2")
                         .arg(m.captured(2), ClassNameOf(Object->metaObject())));
      started = true;
      continue;
    }
    if (line == QLatin1String("end")) {
      ended = true;
      continue;
    }
    const auto m = assignment.match(line);
    if (!m.hasMatch()) Fail(lineNo, QStringLiteral("expected \"Property = Value\""));
    const QStringList path = m.captured(1).split(QLatin1Char('.'));
    TTarget target = root;
    for (int i = 0; i < path.size(); ++i) {
      const int index = target.Meta->indexOfProperty(path[i].toLatin1().constData());
      if (index < target.First) Fail(lineNo, QStringLiteral("unknown property \"%1\"").arg(m.captured(1)));
      const QMetaProperty p = target.Meta->property(index);
      if (i + 1 < path.size()) {
        if (!IsSubObject(p)) Fail(lineNo, QStringLiteral("\"%1\" has no properties").arg(path[i]));
        target = SubTarget(target.Read(p));
        if (!target.Meta) Fail(lineNo, QStringLiteral("\"%1\" is not set").arg(path[i]));
        continue;
      }
      if (IsSubObject(p) || !p.isWritable())
        Fail(lineNo, QStringLiteral("\"%1\" cannot be set from text").arg(m.captured(1)));
      const QVariant value = ParseValue(p, m.captured(2).trimmed());
      if (!value.isValid())
        Fail(lineNo, QStringLiteral("\"%1\" is not a value of \"%2\"").arg(m.captured(2).trimmed(), m.captured(1)));
      FData->Assignments.push_back({target, p, value});
    }
  }
  if (!started) Fail(1, QStringLiteral("the text holds no settings"));
  if (!ended) Fail(static_cast<int>(lines.size()), QStringLiteral("\"end\" is missing"));
}

TComponentTextReader::~TComponentTextReader() = default;

void TComponentTextReader::Apply() const {
  for (const auto& a : FData->Assignments) a.Target.Write(a.Property, a.Value);
}

}  // namespace vorn
