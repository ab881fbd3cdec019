// The XML helpers: typed values read back exactly what was written, whatever the locale;
// malformed input falls back to defaults or raises a clear error.
#include "support/TestSupport.h"

#include <QLocale>

#include <cstring>
#include <limits>

namespace vorn {
namespace {

class XmlValues : public ::testing::Test {
 protected:
  TXmlDocument Doc;
  TXmlNode Root = Doc.append_child("root");
  void Set(const char* Name, const char* Text) { Root.append_child(Name).text().set(Text); }
};

TEST_F(XmlValues, EveryTypeRoundTripsThroughItsShortestTextWhateverTheLocale) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German));
  std::setlocale(LC_ALL, "de_DE.UTF-8");  // may be unavailable: then the C locale stays
  using F = std::numeric_limits<float>;
  const float singles[] = {-0.0f, 1.0f / 3.0f, 3.7795276f, 1e-30f, F::max(), F::denorm_min()};
  int i = 0;
  for (float f : singles) {
    const std::string name = "s" + std::to_string(i++);
    XmlWriteSingle(Root, name.c_str(), f);
    const float back = XmlReadSingle(Root, name.c_str(), 42.0f);
    EXPECT_EQ(std::memcmp(&back, &f, sizeof f), 0) << f << ": bit for bit, the sign of zero included";
    XmlWriteAttrSingle(Root, name.c_str(), f);
    const float attr = XmlReadAttrSingle(Root, name.c_str(), 42.0f);
    EXPECT_EQ(std::memcmp(&attr, &f, sizeof f), 0) << f << " as an attribute";
    EXPECT_EQ(XmlSingleText(f), QByteArray(Root.attribute(name.c_str()).value()));
  }
  EXPECT_EQ(XmlSingleText(0.1f), "0.1");
  EXPECT_EQ(XmlBoolText(false) + XmlBoolText(true), "falsetrue");
  for (double d : {0.1, -2.5e300, std::numeric_limits<double>::min(), 96.0 / 25.4}) {
    XmlWriteDouble(Root, "d", d);
    EXPECT_EQ(XmlReadDouble(Root, "d", 0), d);
  }
  XmlWriteDouble(Root, "half", 1.5);
  EXPECT_STREQ(Root.child("half").child_value(), "1.5");
  std::setlocale(LC_ALL, "C");
  QLocale::setDefault(saved);
  XmlWriteInteger(Root, "i", -2147483647 - 1);
  XmlWriteInt64(Root, "l", 4294967295LL);
  XmlWriteString(Root, "t", QStringLiteral("Grüße <&> \"x\""));
  EXPECT_EQ(XmlReadInteger(Root, "i", 0), -2147483647 - 1);
  EXPECT_EQ(XmlReadInt64(Root, "l", 0), 4294967295LL);
  EXPECT_EQ(XmlReadString(Root, "t"), QStringLiteral("Grüße <&> \"x\""));
  XmlWriteInteger(Root, "v", 1);
  XmlWriteInteger(Root, "v", 2);
  EXPECT_EQ(std::distance(Root.children("v").begin(), Root.children("v").end()), 1) << "writing twice replaces";
  XmlAddChild(Root, "k"), XmlAddChild(Root, "k");
  XmlDeleteChildren(Root, "k");
  EXPECT_TRUE(!Root.child("k") && Root.child("v")) << "every child of that name goes, the others stay";
  XmlWriteAttrInt64(Root, "ID", 4000000000LL);
  EXPECT_EQ(XmlReadAttrInteger(Root, "ID", -1), -1) << "does not fit 32 bits";
}

TEST_F(XmlValues, MissingMalformedOrOutOfRangeValuesGiveTheDefault) {
  Set("bad", "12abc");
  Root.append_child("empty");
  Set("huge", "99999999999");
  Set("blank", "  7 ");
  Set("big", "1e300");
  Set("n", "NaN");
  Set("i", "300");
  EXPECT_EQ(XmlReadInteger(Root, "missing", 5), 5);
  EXPECT_EQ(XmlReadInteger(Root, "bad", 5), 5);
  EXPECT_EQ(XmlReadInteger(Root, "empty", 5), 5);
  EXPECT_EQ(XmlReadInteger(Root, "huge", 5), 5);
  EXPECT_EQ(XmlReadInt64(Root, "huge", 5), 99999999999LL);
  EXPECT_EQ(XmlReadInteger(Root, "blank", 5), 7);
  EXPECT_EQ(XmlReadSingle(Root, "big", 1.0f), 1.0f) << "beyond float range";
  EXPECT_FALSE(XmlReadBool(Root, "bad", false));
  EXPECT_EQ(XmlReadString(Root, "missing", QStringLiteral("d")), QStringLiteral("d"));
  EXPECT_EQ(XmlReadString(Root, "empty", QStringLiteral("d")), QString()) << "present but empty";
  EXPECT_EQ(XmlReadDoubleIn(Root, "n", 1.5, -10, 10), 1.5);
  EXPECT_EQ(XmlReadDoubleIn(Root, "big", 1.5, -1e6, 1e6), 1.5);
  EXPECT_EQ(XmlReadIntegerIn(Root, "i", 7, 0, 255), 7);
  EXPECT_EQ(XmlReadIntegerIn(Root, "i", 7, 0, 300), 300) << "bounds are inclusive";
  EXPECT_EQ(XmlReadInt64In(Root, "huge", 7, 0, 99999999998LL), 7);
  EXPECT_EQ(XmlReadInt64In(Root, "huge", 7, 0, 99999999999LL), 99999999999LL);
  bool v = true;
  for (const char* bad : {"", "yes", "truex", "t", "2", "tru e"}) EXPECT_FALSE(XmlParseBool(bad, v)) << bad;
  EXPECT_TRUE(v) << "untouched by refused text";
  EXPECT_TRUE(XmlParseBool(" TRUE ", v) && v);
  EXPECT_TRUE(XmlParseBool("0", v) && !v);
}

TEST_F(XmlValues, BytesAreBase64WithLineBreaksAllowed) {
  QByteArray bytes;
  for (int i = 0; i < 1000; ++i) bytes.append(static_cast<char>(i * 7));
  TXmlNode data = XmlAddChild(Root, "Data");
  XmlWriteBytes(data, bytes);
  QByteArray back;
  ASSERT_TRUE(XmlReadBytes(data, back));
  EXPECT_EQ(back, bytes);
  XmlAddChild(Root, "W").text().set("AAEC\n AwQ=\n");
  ASSERT_TRUE(XmlReadBytes(Root.child("W"), back)) << "line breaks in base64 are fine";
  EXPECT_EQ(back, QByteArray("\x00\x01\x02\x03\x04", 5));
  XmlAddChild(Root, "B").text().set("not*base64!");
  EXPECT_FALSE(XmlReadBytes(Root.child("B"), back));
  EXPECT_EQ(back.size(), 5) << "garbage leaves the target alone";
}

TEST(XmlDocuments, TextSurvivesWritingAndParsingAndMalformedXmlRaises) {
  TXmlDocument doc;
  TXmlNode root = doc.append_child("r");
  const QString blanks = QStringLiteral("   ");
  const QString lines = QStringLiteral("one\r\ntwo\tthree \x01 & <four>");
  XmlWriteString(root, "b", blanks);
  XmlWriteString(root, "l", lines);
  for (bool indent : {false, true}) {
    TXmlDocument back;
    XmlParse(back, XmlToText(doc, indent));
    EXPECT_EQ(XmlReadString(back.child("r"), "b"), blanks) << indent;
    EXPECT_EQ(XmlReadString(back.child("r"), "l"), lines) << indent;
  }
  TXmlDocument bad;
  try {
    XmlParse(bad, QByteArray("<os><o></os>"));
    FAIL() << "malformed XML must raise";
  } catch (const EXmlError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Malformed XML at offset"))) << e.what();
  }
}

}  // namespace
}  // namespace vorn
