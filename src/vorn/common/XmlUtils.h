#pragma once
// Helpers over pugixml for the engine's XML elements: value elements (a child whose text is
// the value) and attributes, typed, with defaults on reading; child selection and enumeration;
// byte content as base64 character data.
//
// Text forms are locale-independent and the same for writing and reading: booleans "true" /
// "false", floating point in the shortest form that reads back to the same value, integers in
// decimal. Reading never trusts its input: a missing or malformed value yields the default.

#include "vorn/common/Exceptions.h"

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

#include <cstdint>

namespace vorn {

using TXmlNode = pugi::xml_node;
using TXmlDocument = pugi::xml_document;

// XML that cannot be parsed or does not have the expected shape.
class EXmlError : public Exception {
 public:
  using Exception::Exception;
};

// ---- text forms --------------------------------------------------------------------------------
QByteArray XmlBoolText(bool Value);
QByteArray XmlSingleText(float Value);
QByteArray XmlDoubleText(double Value);
bool XmlParseBool(const char* Text, bool& Value);
bool XmlParseSingle(const char* Text, float& Value);
bool XmlParseDouble(const char* Text, double& Value);
bool XmlParseInteger(const char* Text, int32_t& Value);
bool XmlParseInt64(const char* Text, int64_t& Value);

// ---- children ----------------------------------------------------------------------------------
// Appends a child element named Name.
TXmlNode XmlAddChild(TXmlNode Node, const char* Name);
// The first child element named Name (an empty node when there is none).
TXmlNode XmlSelect(TXmlNode Node, const char* Name);
// Removes every child element named Name.
void XmlDeleteChildren(TXmlNode Node, const char* Name);
// Child elements named Name, for range-for: `for (TXmlNode n : XmlChildren(node, "Point"))`.
inline pugi::xml_object_range<pugi::xml_named_node_iterator> XmlChildren(TXmlNode Node, const char* Name) {
  return Node.children(Name);
}

// ---- value elements ----------------------------------------------------------------------------
void XmlWriteString(TXmlNode Node, const char* Name, const QString& Value);
void XmlWriteInteger(TXmlNode Node, const char* Name, int32_t Value);
void XmlWriteInt64(TXmlNode Node, const char* Name, int64_t Value);
void XmlWriteSingle(TXmlNode Node, const char* Name, float Value);
void XmlWriteDouble(TXmlNode Node, const char* Name, double Value);
void XmlWriteBool(TXmlNode Node, const char* Name, bool Value);

QString XmlReadString(TXmlNode Node, const char* Name, const QString& Default = {});
int32_t XmlReadInteger(TXmlNode Node, const char* Name, int32_t Default);
int64_t XmlReadInt64(TXmlNode Node, const char* Name, int64_t Default);
float XmlReadSingle(TXmlNode Node, const char* Name, float Default);
double XmlReadDouble(TXmlNode Node, const char* Name, double Default);
bool XmlReadBool(TXmlNode Node, const char* Name, bool Default);
// True when the value element exists (to tell "absent" from "equal to the default").
bool XmlHasValue(TXmlNode Node, const char* Name);
// Range-checked reads for values from untrusted documents: a value outside [Min, Max] (NaN
// included) is treated as absent and yields the default.
int32_t XmlReadIntegerIn(TXmlNode Node, const char* Name, int32_t Default, int32_t Min, int32_t Max);
int64_t XmlReadInt64In(TXmlNode Node, const char* Name, int64_t Default, int64_t Min, int64_t Max);
float XmlReadSingleIn(TXmlNode Node, const char* Name, float Default, float Min, float Max);
double XmlReadDoubleIn(TXmlNode Node, const char* Name, double Default, double Min, double Max);

// ---- attributes --------------------------------------------------------------------------------
void XmlWriteAttrString(TXmlNode Node, const char* Name, const QString& Value);
void XmlWriteAttrInteger(TXmlNode Node, const char* Name, int32_t Value);
void XmlWriteAttrInt64(TXmlNode Node, const char* Name, int64_t Value);
void XmlWriteAttrSingle(TXmlNode Node, const char* Name, float Value);
void XmlWriteAttrDouble(TXmlNode Node, const char* Name, double Value);
void XmlWriteAttrBool(TXmlNode Node, const char* Name, bool Value);

QString XmlReadAttrString(TXmlNode Node, const char* Name, const QString& Default = {});
int32_t XmlReadAttrInteger(TXmlNode Node, const char* Name, int32_t Default);
int64_t XmlReadAttrInt64(TXmlNode Node, const char* Name, int64_t Default);
float XmlReadAttrSingle(TXmlNode Node, const char* Name, float Default);
double XmlReadAttrDouble(TXmlNode Node, const char* Name, double Default);
bool XmlReadAttrBool(TXmlNode Node, const char* Name, bool Default);
int64_t XmlReadAttrInt64In(TXmlNode Node, const char* Name, int64_t Default, int64_t Min, int64_t Max);

// ---- byte content ------------------------------------------------------------------------------
// Replaces the node's text with the bytes in base64.
void XmlWriteBytes(TXmlNode Node, const QByteArray& Bytes);
// Decodes the node's base64 text; false (Bytes untouched) when it is not valid base64.
bool XmlReadBytes(TXmlNode Node, QByteArray& Bytes);

// ---- documents ---------------------------------------------------------------------------------
// Parses Text into Document; raises EXmlError with the parser's description and offset.
// A value element whose whole text is blanks keeps its blanks (a name of one space stays one
// space), line ends inside values stay as written; blanks between elements are dropped.
void XmlParse(TXmlDocument& Document, const QByteArray& Text);
void XmlParse(TXmlDocument& Document, const char* Text, size_t Size);
// Parses Text where it lies, without a copy: the document's names and values point into Text,
// which must stay unchanged and alive as long as the document.
void XmlParseInPlace(TXmlDocument& Document, QByteArray& Text);
// The document as UTF-8 text; Indent false writes it on one line (undo records, clipboard).
QByteArray XmlToText(const TXmlDocument& Document, bool Indent = true);
QByteArray XmlToText(TXmlNode Node, bool Indent = true);

// UTF-8 of a pugixml string as a QString, and back.
inline QString XmlQString(const char* Text) { return QString::fromUtf8(Text); }

}  // namespace vorn
