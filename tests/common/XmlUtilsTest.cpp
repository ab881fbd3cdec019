// The XML helpers: typed values read back exactly what was written, whatever the locale;
// malformed input falls back to defaults or raises a clear error.
#include <vorn/common/XmlUtils.h>

#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>
#include <limits>

namespace vorn {
namespace {

class XmlValues : public ::testing::Test {
 protected:
  TXmlDocument Doc;
  TXmlNode Root = Doc.append_child("root");
};

TEST_F(XmlValues, EveryTypeRoundTripsThroughText) {
  const float singles[] = {0.0f, -0.0f, 1.0f / 3.0f, 3.7795276f, 1e-30f, -123456.789f,
                           std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min()};
  const double doubles[] = {0.1, 1.0 / 3.0, -2.5e300, std::numeric_limits<double>::min(), 96.0 / 25.4};
  int i = 0;
  for (float f : singles) {
    const std::string name = "s" + std::to_string(i++);
    XmlWriteSingle(Root, name.c_str(), f);
    const float back = XmlReadSingle(Root, name.c_str(), 42.0f);
    EXPECT_EQ(std::memcmp(&back, &f, sizeof f), 0) << f;  // bit for bit, sign of zero included
  }
  for (double d : doubles) {
    const std::string name = "d" + std::to_string(i++);
    XmlWriteDouble(Root, name.c_str(), d);
    EXPECT_EQ(XmlReadDouble(Root, name.c_str(), 0), d);
  }
  XmlWriteInteger(Root, "i", -2147483647 - 1);
  XmlWriteInt64(Root, "l", 4294967295LL);
  XmlWriteBool(Root, "b", true);
  XmlWriteString(Root, "t", QStringLiteral("Grüße <&> \"x\""));
  EXPECT_EQ(XmlReadInteger(Root, "i", 0), -2147483647 - 1);
  EXPECT_EQ(XmlReadInt64(Root, "l", 0), 4294967295LL);
  EXPECT_TRUE(XmlReadBool(Root, "b", false));
  EXPECT_EQ(XmlReadString(Root, "t"), QStringLiteral("Grüße <&> \"x\""));
  EXPECT_EQ(XmlSingleText(0.1f), QByteArray("0.1"));  // shortest form, not 0.100000001
  EXPECT_EQ(XmlBoolText(false), QByteArray("false"));
}

TEST_F(XmlValues, TextFormsIgnoreTheLocale) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German));
  std::setlocale(LC_ALL, "de_DE.UTF-8");  // may be unavailable: then the C locale stays
  XmlWriteDouble(Root, "d", 1.5);
  EXPECT_EQ(QByteArray(Root.child("d").child_value()), QByteArray("1.5"));
  EXPECT_EQ(XmlReadDouble(Root, "d", 0), 1.5);
  std::setlocale(LC_ALL, "C");
  QLocale::setDefault(saved);
}

TEST_F(XmlValues, MissingOrMalformedValuesGiveTheDefault) {
  Root.append_child("bad").text().set("12abc");
  Root.append_child("empty");
  Root.append_child("huge").text().set("99999999999");
  Root.append_child("blank").text().set("  7 ");
  EXPECT_EQ(XmlReadInteger(Root, "missing", 5), 5);
  EXPECT_EQ(XmlReadInteger(Root, "bad", 5), 5);
  EXPECT_EQ(XmlReadInteger(Root, "empty", 5), 5);
  EXPECT_EQ(XmlReadInteger(Root, "huge", 5), 5);  // does not fit 32 bits
  EXPECT_EQ(XmlReadInt64(Root, "huge", 5), 99999999999LL);
  EXPECT_EQ(XmlReadInteger(Root, "blank", 5), 7);
  EXPECT_EQ(XmlReadSingle(Root, "bad", 2.5f), 2.5f);
  EXPECT_FALSE(XmlReadBool(Root, "bad", false));
  EXPECT_TRUE(XmlReadBool(Root, "missing", true));
  EXPECT_EQ(XmlReadString(Root, "missing", QStringLiteral("d")), QStringLiteral("d"));
  EXPECT_EQ(XmlReadString(Root, "empty", QStringLiteral("d")), QString());  // present but empty
  EXPECT_TRUE(XmlHasValue(Root, "empty"));
  EXPECT_FALSE(XmlHasValue(Root, "missing"));
  // Doubles beyond float range do not become a float value.
  Root.append_child("big").text().set("1e300");
  EXPECT_EQ(XmlReadSingle(Root, "big", 1.0f), 1.0f);
}

TEST_F(XmlValues, AttributesAndWritingTwiceReplaces) {
  XmlWriteAttrInt64(Root, "ID", 4000000000LL);
  XmlWriteAttrBool(Root, "File", true);
  XmlWriteAttrString(Root, "Class", QStringLiteral("TKxDeShape"));
  XmlWriteAttrSingle(Root, "s", 0.25f);
  EXPECT_EQ(XmlReadAttrInt64(Root, "ID", 0), 4000000000LL);
  EXPECT_TRUE(XmlReadAttrBool(Root, "File", false));
  EXPECT_EQ(XmlReadAttrString(Root, "Class"), QStringLiteral("TKxDeShape"));
  EXPECT_EQ(XmlReadAttrSingle(Root, "s", 0), 0.25f);
  EXPECT_EQ(XmlReadAttrInteger(Root, "Class", -1), -1);
  XmlWriteAttrInteger(Root, "ID", 3);
  XmlWriteInteger(Root, "v", 1);
  XmlWriteInteger(Root, "v", 2);
  EXPECT_EQ(XmlReadAttrInteger(Root, "ID", 0), 3);
  EXPECT_EQ(std::distance(Root.children("v").begin(), Root.children("v").end()), 1);
  EXPECT_EQ(XmlReadInteger(Root, "v", 0), 2);
}

TEST_F(XmlValues, ChildrenSelectEnumerateDelete) {
  for (int i = 0; i < 3; ++i) XmlWriteInteger(XmlAddChild(Root, "Point"), "x", i);
  XmlAddChild(Root, "Other");
  int sum = 0, count = 0;
  for (TXmlNode p : XmlChildren(Root, "Point")) {
    sum += XmlReadInteger(p, "x", 100);
    ++count;
  }
  EXPECT_EQ(count, 3);
  EXPECT_EQ(sum, 0 + 1 + 2);
  EXPECT_TRUE(XmlSelect(Root, "Other"));
  EXPECT_FALSE(XmlSelect(Root, "None"));
  XmlDeleteChildren(Root, "Point");
  EXPECT_FALSE(XmlSelect(Root, "Point"));
  EXPECT_TRUE(XmlSelect(Root, "Other"));
}

TEST_F(XmlValues, BytesAsBase64) {
  QByteArray bytes;
  for (int i = 0; i < 1000; ++i) bytes.append(static_cast<char>(i * 7));
  TXmlNode data = XmlAddChild(Root, "Data");
  XmlWriteBytes(data, bytes);
  QByteArray back;
  ASSERT_TRUE(XmlReadBytes(data, back));
  EXPECT_EQ(back, bytes);
  // Line breaks inside the base64 text are fine; garbage is refused and leaves the target alone.
  TXmlNode wrapped = XmlAddChild(Root, "W");
  wrapped.text().set("AAEC\n AwQ=\n");
  ASSERT_TRUE(XmlReadBytes(wrapped, back));
  EXPECT_EQ(back, QByteArray("\x00\x01\x02\x03\x04", 5));
  TXmlNode bad = XmlAddChild(Root, "B");
  bad.text().set("not*base64!");
  EXPECT_FALSE(XmlReadBytes(bad, back));
  EXPECT_EQ(back.size(), 5);
}

TEST_F(XmlValues, RangeCheckedReadsTreatOutliersAsAbsent) {
  Root.append_child("n").text().set("NaN");
  Root.append_child("big").text().set("1e300");
  Root.append_child("i").text().set("300");
  Root.append_child("ok").text().set("-2.5");
  EXPECT_EQ(XmlReadDoubleIn(Root, "n", 1.5, -10, 10), 1.5);
  EXPECT_EQ(XmlReadDoubleIn(Root, "big", 1.5, -1e6, 1e6), 1.5);
  EXPECT_EQ(XmlReadDoubleIn(Root, "ok", 1.5, -10, 10), -2.5);
  EXPECT_EQ(XmlReadSingleIn(Root, "n", 1.5f, -10, 10), 1.5f);
  EXPECT_EQ(XmlReadSingleIn(Root, "ok", 0, -2.5f, -2.5f), -2.5f);  // bounds are inclusive
  EXPECT_EQ(XmlReadIntegerIn(Root, "i", 7, 0, 255), 7);
  EXPECT_EQ(XmlReadIntegerIn(Root, "i", 7, 0, 300), 300);
  EXPECT_EQ(XmlReadInt64In(Root, "i", 7, 301, 400), 7);
  XmlWriteAttrString(Root, "ID", QStringLiteral("4294967296"));
  EXPECT_EQ(XmlReadAttrInt64In(Root, "ID", 1, 0, 4294967295LL), 1);
}

TEST(XmlTextForms, BooleansAcceptAnyCaseAndDigitsButNothingElse) {
  bool v = false;
  EXPECT_TRUE(XmlParseBool(" TRUE ", v) && v);
  EXPECT_TRUE(XmlParseBool("False", v) && !v);
  EXPECT_TRUE(XmlParseBool("1", v) && v);
  EXPECT_TRUE(XmlParseBool("0", v) && !v);
  v = true;
  for (const char* bad : {"", "yes", "truex", "t", "\x10", "\x11", "2", "tru e"})
    EXPECT_FALSE(XmlParseBool(bad, v)) << bad;
  EXPECT_TRUE(v);  // untouched by refused text
}

TEST(XmlDocuments, BlankAndMultiLineTextSurvivesWritingAndParsing) {
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
}

TEST(XmlDocuments, ParseAndWrite) {
  TXmlDocument doc;
  XmlParse(doc, QByteArray("<os Type=\"vorn.mek.data\"><o Class=\"A\"/></os>"));
  EXPECT_EQ(XmlReadAttrString(doc.child("os"), "Type"), QStringLiteral("vorn.mek.data"));
  EXPECT_EQ(XmlToText(doc, false),
            QByteArray("<?xml version=\"1.0\"?><os Type=\"vorn.mek.data\"><o Class=\"A\"/></os>"));
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
