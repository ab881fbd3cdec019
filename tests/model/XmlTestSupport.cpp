// Pairs with XmlTestSupport.h so that the meta-object compiler sees the test classes there.
#include "XmlTestSupport.h"

namespace vorn::test {

QByteArray ObjectText(const TKxDeShapeBase* Shape) {
  TXmlDocument doc;
  TKxDeObjectXml::AppendObject(doc, Shape);
  return XmlToText(doc, false);
}

TOwned<TKxDeShapeBase> ReadObject(const QByteArray& Text, TKxDeXmlReadReport* Report,
                                  const TKxDeXmlReadOptions& Options) {
  TXmlDocument doc;
  XmlParse(doc, Text);
  return TOwned<TKxDeShapeBase>(TKxDeObjectXml::LoadObject(doc.child("o"), Options, Report));
}

void ExpectRoundTrip(const TKxDeShapeBase* Shape) {
  const QByteArray first = ObjectText(Shape);
  TOwned<TKxDeShapeBase> back = ReadObject(first);
  ASSERT_TRUE(back) << first.toStdString();
  EXPECT_EQ(back->ClassName(), Shape->ClassName());
  EXPECT_EQ(ObjectText(back.get()).toStdString(), first.toStdString());
}

}  // namespace vorn::test
