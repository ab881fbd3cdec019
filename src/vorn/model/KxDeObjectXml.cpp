#include "vorn/model/KxDeObjectXml.h"

#include "vorn/common/Exceptions.h"
#include "vorn/common/Finally_p.h"
#include "vorn/model/KxDeGroup.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDePackage.h"
#include "vorn/model/KxDeRegister.h"
#include "vorn/model/KxDeShape.h"
#include "vorn/model/UpdateBracket_p.h"

#include <cstring>
#include <string>
#include <unordered_map>

namespace vorn {

namespace {

// The class name as the meta-object spells it, without namespace, written without a QString.
const char* ShortClassName(const TObject* Object) {
  const char* full = Object->metaObject()->className();
  const char* colon = std::strrchr(full, ':');
  return colon ? colon + 1 : full;
}

void Skip(TXmlNode Node, TKxDeXmlReadReport* Report, const QString& Reason) {
  if (Report) Report->Skip(Node, Reason);
}

}  // namespace

// What one read keeps between its elements: the options, the report and the classes already
// looked up by the names as written (a document names few classes, many times).
struct TKxDeObjectXml::TReadContext {
  const TKxDeXmlReadOptions& Options;
  TKxDeXmlReadReport* Report;
  // The level the read started at: its elements report their progress.
  int32_t TopDepth;
  std::unordered_map<std::string, TKxDeShapeClass> Classes;

  TKxDeShapeClass Find(const char* Name) {
    auto it = Classes.find(Name);
    if (it == Classes.end()) it = Classes.emplace(Name, FindClass(QString::fromUtf8(Name))).first;
    return it->second;
  }
};

void TKxDeXmlReadReport::Skip(TXmlNode Node, const QString& Reason) {
  ++ObjectsSkipped;
  const ptrdiff_t offset = Node.offset_debug();
  Messages << (offset >= 0 ? QStringLiteral("%1 (at offset %2)").arg(Reason).arg(static_cast<qlonglong>(offset))
                           : Reason);
}

void TKxDeObjectXml::SaveObject(TXmlNode Node, const TKxDeShapeBase* Shape) {
  if (!Shape) return;
  Node.append_attribute("Class").set_value(ShortClassName(Shape));
  Shape->SaveToXML(Node);
  if (!Shape->ShapeStyle().Contains(TKxDeShapeStyle::kxssIsContainer)) return;
  const auto* container = dynamic_cast<const TKxDeContainer*>(Shape);
  if (container && container->ItemCount() > 0) SaveObjects(XmlAddChild(Node, "os"), container);
}

TXmlNode TKxDeObjectXml::AppendObject(TXmlNode Parent, const TKxDeShapeBase* Shape) {
  TXmlNode o = XmlAddChild(Parent, "o");
  SaveObject(o, Shape);
  return o;
}

void TKxDeObjectXml::SaveObjects(TXmlNode Node, const TKxDeContainer* Container) {
  if (!Container) return;
  for (int32_t i = 0; i < Container->ItemCount(); ++i) AppendObject(Node, Container->Items(i));
}

TKxDeShapeClass TKxDeObjectXml::FindClass(const QString& ClassName) {
  if (TKxDeShapeClass c = TKxDeRegister::FindShape(ClassName)) return c;
  // The engine's own classes: documents hold them without any host registration.
  for (TKxDeShapeClass c :
       {ClassOf<TKxDeShape>(), ClassOf<TKxDeGroup>(), ClassOf<TKxDePackage>(), ClassOf<TKxDeLayer>()})
    if (ClassName.compare(c->ClassName(), Qt::CaseInsensitive) == 0) return c;
  return nullptr;
}

void TKxDeObjectXml::LoadContent(TXmlNode Node, TKxDeShapeBase* Shape, const TKxDeXmlReadOptions& Options) {
  if (!Shape) return;
  if (!Options.KeepID) {
    Shape->LoadFromXML(Node, false);
    return;
  }
  // Packages and layers read the identity whatever they are asked: put the new one back.
  Shape->StoreID();
  TUpdateBracket update(Shape);
  TFinally restore([Shape] { Shape->RestoreID(); });
  Shape->LoadFromXML(Node, true);
}

TKxDeShapeBase* TKxDeObjectXml::LoadObject(TXmlNode Node, const TKxDeXmlReadOptions& Options,
                                           TKxDeXmlReadReport* Report, int32_t Depth) {
  TReadContext context{Options, Report, Depth, {}};
  return LoadObjectIn(context, Node, Depth);
}

int32_t TKxDeObjectXml::LoadObjects(TXmlNode Node, TKxDeContainer* Container, const TKxDeXmlReadOptions& Options,
                                    TKxDeXmlReadReport* Report, int32_t Depth) {
  TReadContext context{Options, Report, Depth, {}};
  return LoadObjectsIn(context, Node, Container, Depth);
}

TKxDeShapeBase* TKxDeObjectXml::LoadObjectIn(TReadContext& Context, TXmlNode Node, int32_t Depth) {
  TKxDeXmlReadReport* report = Context.Report;
  if (Depth > Context.Options.MaxDepth) {
    Skip(Node, report, QStringLiteral("Skipped an object nested deeper than %1 levels").arg(Context.Options.MaxDepth));
    return nullptr;
  }
  const pugi::xml_attribute classAttr = Node.attribute("Class");
  if (!classAttr) {
    Skip(Node, report, QStringLiteral("Skipped an object without a class"));
    return nullptr;
  }
  const TKxDeShapeClass cls = Context.Find(classAttr.value());
  TOwned<TKxDeShapeBase> shape(
      cls ? cls->Construct<TKxDeShapeBase>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(nullptr))
          : nullptr);
  if (!shape) {
    Skip(Node, report,
         QStringLiteral("Skipped an object of the unknown class \"%1\"").arg(QString::fromUtf8(classAttr.value())));
    return nullptr;
  }
  try {
    LoadContent(Node, shape.get(), Context.Options);
  } catch (const Exception& e) {
    // A host class that refuses its element loses only itself.
    Skip(
        Node, report,
        QStringLiteral("Skipped an object of class \"%1\": %2").arg(QString::fromUtf8(classAttr.value()), e.Message()));
    return nullptr;
  }
  if (report) ++report->ObjectsRead;
  if (shape->ShapeStyle().Contains(TKxDeShapeStyle::kxssIsContainer))
    if (auto* container = dynamic_cast<TKxDeContainer*>(shape.get()))
      LoadObjectsIn(Context, XmlSelect(Node, "os"), container, Depth + 1);
  return shape.release();
}

int32_t TKxDeObjectXml::LoadObjectsIn(TReadContext& Context, TXmlNode Node, TKxDeContainer* Container, int32_t Depth) {
  if (!Node || !Container) return 0;
  TKxDeXmlReadReport* report = Context.Report;
  // Shapes read into the layer or anywhere below it keep the styles they were stored with.
  auto* layer = dynamic_cast<TKxDeLayer*>(Container);
  if (!layer) layer = Container->GetLayer();
  if (layer) layer->SkipDefaultProperty();
  TFinally unskip([layer] {
    if (layer) layer->UnskipDefaultProperty();
  });
  TUpdateBracket update(Container);
  int32_t added = 0;
  const bool top = Depth == Context.TopDepth && Context.Options.OnObjectDone;
  for (TXmlNode o : XmlChildren(Node, "o")) {
    TOwned<TKxDeShapeBase> shape(LoadObjectIn(Context, o, Depth));
    if (shape) {
      Container->InsertShape(shape.get());
      if (shape->Owner() == Container) {
        shape.release();
        ++added;
      } else {
        if (report) --report->ObjectsRead;
        Skip(o, report,
             QStringLiteral("Skipped an object of class \"%1\" that cannot be placed in \"%2\"")
                 .arg(shape->ClassName(), Container->ClassName()));
        shape.reset();  // freed with its subtree
      }
    }
    if (top) Context.Options.OnObjectDone();
  }
  return added;
}

}  // namespace vorn
