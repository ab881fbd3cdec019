#pragma once
// What a shape is, without its identity: its element (members included) with every "ID" left
// out, so classes, geometry and styles compare. Moved by (D, D) first when D is given, as a paste
// of a copy moves it.

#include <vorn/model/KxDeObjectXml.h>

#include <functional>
#include <string>

namespace vorn::test {

inline std::string ShapeContent(const TKxDeShapeBase* S, float D = 0) {
  TXmlDocument d;
  TXmlNode o = TKxDeObjectXml::AppendObject(d, S);
  if (D != 0) {
    TOwned<TKxDeShapeBase> copy(TKxDeObjectXml::LoadObject(o));
    copy->MoveBy(D, D);
    d.remove_child(o);
    TKxDeObjectXml::AppendObject(d, copy.get());
  }
  std::function<void(TXmlNode)> strip = [&](TXmlNode N) {
    N.remove_attribute("ID");
    for (TXmlNode c : N.children()) strip(c);
  };
  strip(d);
  return XmlToText(d).toStdString();
}

}  // namespace vorn::test
