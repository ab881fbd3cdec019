#include "vorn/common/XmlUtils.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

namespace vorn {
namespace {

// A number's text in a buffer on the stack: writing thousands of values allocates nothing.
struct TNumberText {
  char Buf[64];
  size_t Len = 0;
  const char* Text() const { return Buf; }
};

template <class T>
TNumberText FloatChars(T Value) {
  TNumberText t;
  const char* special = std::isnan(Value) ? "NaN" : std::isinf(Value) ? (Value > 0 ? "INF" : "-INF") : nullptr;
  if (special) {
    t.Len = std::strlen(special);
    std::memcpy(t.Buf, special, t.Len + 1);
    return t;
  }
  const auto res = std::to_chars(t.Buf, t.Buf + sizeof t.Buf - 1, Value);
  t.Len = static_cast<size_t>(res.ptr - t.Buf);
  t.Buf[t.Len] = 0;
  return t;
}

template <class T>
TNumberText IntegerChars(T Value) {
  TNumberText t;
  const auto res = std::to_chars(t.Buf, t.Buf + sizeof t.Buf - 1, Value);
  t.Len = static_cast<size_t>(res.ptr - t.Buf);
  t.Buf[t.Len] = 0;
  return t;
}

template <class T>
QByteArray FloatText(T Value) {
  const TNumberText t = FloatChars(Value);
  return QByteArray(t.Buf, static_cast<qsizetype>(t.Len));
}

// Leading and trailing blanks are tolerated; anything else after the number is not.
const char* SkipBlanks(const char* P) {
  while (*P == ' ' || *P == '\t' || *P == '\r' || *P == '\n') ++P;
  return P;
}

template <class T>
bool ParseNumber(const char* Text, T& Value) {
  if (!Text) return false;
  const char* first = SkipBlanks(Text);
  const char* last = first + std::strlen(first);
  while (last > first && (last[-1] == ' ' || last[-1] == '\t' || last[-1] == '\r' || last[-1] == '\n')) --last;
  if (first == last) return false;
  if (*first == '+') ++first;
  T v{};
  const auto res = std::from_chars(first, last, v);
  if (res.ec != std::errc() || res.ptr != last) {
    if constexpr (std::is_floating_point_v<T>) {
      const std::string s(first, last);
      if (s == "NaN") { Value = std::numeric_limits<T>::quiet_NaN(); return true; }
      if (s == "INF") { Value = std::numeric_limits<T>::infinity(); return true; }
      if (s == "-INF") { Value = -std::numeric_limits<T>::infinity(); return true; }
    }
    return false;
  }
  Value = v;
  return true;
}

void SetText(TXmlNode Node, const char* Name, const char* Text) {
  TXmlNode child = Node.child(Name);
  if (!child) child = Node.append_child(Name);
  child.text().set(Text);
}

const char* ValueText(TXmlNode Node, const char* Name) {
  const TXmlNode child = Node.child(Name);
  return child ? child.child_value() : nullptr;
}

const char* AttrText(TXmlNode Node, const char* Name) {
  const pugi::xml_attribute a = Node.attribute(Name);
  return a ? a.value() : nullptr;
}

void SetAttr(TXmlNode Node, const char* Name, const char* Text) {
  pugi::xml_attribute a = Node.attribute(Name);
  if (!a) a = Node.append_attribute(Name);
  a.set_value(Text);
}

template <class T, class P>
T ReadWith(const char* Text, T Default, P Parse) {
  T v{};
  return Text && Parse(Text, v) ? v : Default;
}

// The comparison is written so that NaN falls outside every range.
template <class T, class P>
T ReadIn(const char* Text, T Default, T Min, T Max, P Parse) {
  T v{};
  return Text && Parse(Text, v) && v >= Min && v <= Max ? v : Default;
}

struct TStringWriter : pugi::xml_writer {
  QByteArray Out;
  void write(const void* Data, size_t Size) override {
    Out.append(static_cast<const char*>(Data), static_cast<qsizetype>(Size));
  }
};

}  // namespace

QByteArray XmlBoolText(bool Value) { return Value ? QByteArrayLiteral("true") : QByteArrayLiteral("false"); }
QByteArray XmlSingleText(float Value) { return FloatText(Value); }
QByteArray XmlDoubleText(double Value) { return FloatText(Value); }

bool XmlParseBool(const char* Text, bool& Value) {
  if (!Text) return false;
  const char* first = SkipBlanks(Text);
  const char* last = first + std::strlen(first);
  while (last > first && (last[-1] == ' ' || last[-1] == '\t' || last[-1] == '\r' || last[-1] == '\n')) --last;
  const auto is = [&](const char* Word) {
    const size_t n = std::strlen(Word);
    if (static_cast<size_t>(last - first) != n) return false;
    for (size_t i = 0; i < n; ++i) {
      const char c = first[i] >= 'A' && first[i] <= 'Z' ? static_cast<char>(first[i] + ('a' - 'A')) : first[i];
      if (c != Word[i]) return false;
    }
    return true;
  };
  if (is("true") || is("1")) { Value = true; return true; }
  if (is("false") || is("0")) { Value = false; return true; }
  return false;
}
bool XmlParseSingle(const char* Text, float& Value) { return ParseNumber(Text, Value); }
bool XmlParseDouble(const char* Text, double& Value) { return ParseNumber(Text, Value); }
bool XmlParseInteger(const char* Text, int32_t& Value) { return ParseNumber(Text, Value); }
bool XmlParseInt64(const char* Text, int64_t& Value) { return ParseNumber(Text, Value); }

TXmlNode XmlAddChild(TXmlNode Node, const char* Name) { return Node.append_child(Name); }
TXmlNode XmlSelect(TXmlNode Node, const char* Name) { return Node.child(Name); }
void XmlDeleteChildren(TXmlNode Node, const char* Name) {
  while (TXmlNode c = Node.child(Name)) Node.remove_child(c);
}

void XmlWriteString(TXmlNode Node, const char* Name, const QString& Value) {
  SetText(Node, Name, Value.toUtf8().constData());
}
void XmlWriteInteger(TXmlNode Node, const char* Name, int32_t Value) {
  SetText(Node, Name, IntegerChars(Value).Text());
}
void XmlWriteInt64(TXmlNode Node, const char* Name, int64_t Value) { SetText(Node, Name, IntegerChars(Value).Text()); }
void XmlWriteSingle(TXmlNode Node, const char* Name, float Value) { SetText(Node, Name, FloatChars(Value).Text()); }
void XmlWriteDouble(TXmlNode Node, const char* Name, double Value) { SetText(Node, Name, FloatChars(Value).Text()); }
void XmlWriteBool(TXmlNode Node, const char* Name, bool Value) { SetText(Node, Name, Value ? "true" : "false"); }

QString XmlReadString(TXmlNode Node, const char* Name, const QString& Default) {
  const TXmlNode child = Node.child(Name);
  return child ? QString::fromUtf8(child.child_value()) : Default;
}
int32_t XmlReadInteger(TXmlNode Node, const char* Name, int32_t Default) {
  return ReadWith(ValueText(Node, Name), Default, XmlParseInteger);
}
int64_t XmlReadInt64(TXmlNode Node, const char* Name, int64_t Default) {
  return ReadWith(ValueText(Node, Name), Default, XmlParseInt64);
}
float XmlReadSingle(TXmlNode Node, const char* Name, float Default) {
  return ReadWith(ValueText(Node, Name), Default, XmlParseSingle);
}
double XmlReadDouble(TXmlNode Node, const char* Name, double Default) {
  return ReadWith(ValueText(Node, Name), Default, XmlParseDouble);
}
bool XmlReadBool(TXmlNode Node, const char* Name, bool Default) {
  return ReadWith(ValueText(Node, Name), Default, XmlParseBool);
}
bool XmlHasValue(TXmlNode Node, const char* Name) { return static_cast<bool>(Node.child(Name)); }

int32_t XmlReadIntegerIn(TXmlNode Node, const char* Name, int32_t Default, int32_t Min, int32_t Max) {
  return ReadIn(ValueText(Node, Name), Default, Min, Max, XmlParseInteger);
}
int64_t XmlReadInt64In(TXmlNode Node, const char* Name, int64_t Default, int64_t Min, int64_t Max) {
  return ReadIn(ValueText(Node, Name), Default, Min, Max, XmlParseInt64);
}
float XmlReadSingleIn(TXmlNode Node, const char* Name, float Default, float Min, float Max) {
  return ReadIn(ValueText(Node, Name), Default, Min, Max, XmlParseSingle);
}
double XmlReadDoubleIn(TXmlNode Node, const char* Name, double Default, double Min, double Max) {
  return ReadIn(ValueText(Node, Name), Default, Min, Max, XmlParseDouble);
}

void XmlWriteAttrString(TXmlNode Node, const char* Name, const QString& Value) {
  SetAttr(Node, Name, Value.toUtf8().constData());
}
void XmlWriteAttrInteger(TXmlNode Node, const char* Name, int32_t Value) {
  SetAttr(Node, Name, IntegerChars(Value).Text());
}
void XmlWriteAttrInt64(TXmlNode Node, const char* Name, int64_t Value) {
  SetAttr(Node, Name, IntegerChars(Value).Text());
}
void XmlWriteAttrSingle(TXmlNode Node, const char* Name, float Value) { SetAttr(Node, Name, FloatChars(Value).Text()); }
void XmlWriteAttrDouble(TXmlNode Node, const char* Name, double Value) {
  SetAttr(Node, Name, FloatChars(Value).Text());
}
void XmlWriteAttrBool(TXmlNode Node, const char* Name, bool Value) { SetAttr(Node, Name, Value ? "true" : "false"); }

QString XmlReadAttrString(TXmlNode Node, const char* Name, const QString& Default) {
  const pugi::xml_attribute a = Node.attribute(Name);
  return a ? QString::fromUtf8(a.value()) : Default;
}
int32_t XmlReadAttrInteger(TXmlNode Node, const char* Name, int32_t Default) {
  return ReadWith(AttrText(Node, Name), Default, XmlParseInteger);
}
int64_t XmlReadAttrInt64(TXmlNode Node, const char* Name, int64_t Default) {
  return ReadWith(AttrText(Node, Name), Default, XmlParseInt64);
}
float XmlReadAttrSingle(TXmlNode Node, const char* Name, float Default) {
  return ReadWith(AttrText(Node, Name), Default, XmlParseSingle);
}
double XmlReadAttrDouble(TXmlNode Node, const char* Name, double Default) {
  return ReadWith(AttrText(Node, Name), Default, XmlParseDouble);
}
bool XmlReadAttrBool(TXmlNode Node, const char* Name, bool Default) {
  return ReadWith(AttrText(Node, Name), Default, XmlParseBool);
}
int64_t XmlReadAttrInt64In(TXmlNode Node, const char* Name, int64_t Default, int64_t Min, int64_t Max) {
  return ReadIn(AttrText(Node, Name), Default, Min, Max, XmlParseInt64);
}

void XmlWriteBytes(TXmlNode Node, const QByteArray& Bytes) { Node.text().set(Bytes.toBase64().constData()); }

bool XmlReadBytes(TXmlNode Node, QByteArray& Bytes) {
  const QByteArray text = QByteArray(Node.child_value()).simplified().replace(' ', QByteArray());
  auto res = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
  if (!res) return false;
  Bytes = std::move(res.decoded);
  return true;
}

void XmlParse(TXmlDocument& Document, const QByteArray& Text) {
  XmlParse(Document, Text.constData(), static_cast<size_t>(Text.size()));
}

namespace {

// Line ends are not normalised: the writer puts a carriage return inside a value as it is, and
// reading must give it back.
constexpr unsigned ParseFlags = (pugi::parse_default & ~pugi::parse_eol) | pugi::parse_ws_pcdata_single;

void CheckParsed(const pugi::xml_parse_result& R) {
  if (!R)
    throw EXmlError(QStringLiteral("Malformed XML at offset %1: %2")
                        .arg(static_cast<qlonglong>(R.offset))
                        .arg(QString::fromUtf8(R.description())));
}

}  // namespace

void XmlParse(TXmlDocument& Document, const char* Text, size_t Size) {
  CheckParsed(Document.load_buffer(Text, Size, ParseFlags, pugi::encoding_utf8));
}

void XmlParseInPlace(TXmlDocument& Document, QByteArray& Text) {
  CheckParsed(Document.load_buffer_inplace(Text.data(), static_cast<size_t>(Text.size()), ParseFlags,
                                           pugi::encoding_utf8));
}

QByteArray XmlToText(const TXmlDocument& Document, bool Indent) {
  TStringWriter w;
  Document.save(w, "  ", Indent ? pugi::format_default : pugi::format_raw, pugi::encoding_utf8);
  return w.Out;
}

QByteArray XmlToText(TXmlNode Node, bool Indent) {
  TStringWriter w;
  Node.print(w, "  ", Indent ? pugi::format_default : pugi::format_raw, pugi::encoding_utf8);
  return w.Out;
}

}  // namespace vorn
