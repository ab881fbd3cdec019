#pragma once
// Object elements: the wrapper in which document files, undo records and the clipboard carry
// whole shapes. An element "o" names the shape's class in its attribute "Class" and holds what
// the shape's SaveToXML writes; a container with children adds an element "os" holding one "o"
// per child, bottom first. Reading creates each shape through the registry by its class name,
// lets it read its element, adds it to the container being filled and, for a container, reads
// its children from "os" the same way.
//
// Reading never trusts the element: an "o" without a class, of an unknown class or nested deeper
// than the configured limit is skipped with its whole subtree, and the skip is reported.

#include "vorn/common/XmlUtils.h"
#include "vorn/model/KxDeContainer.h"

#include <QStringList>

#include <cstdint>
#include <functional>

namespace vorn {

// Limits an object reader applies to untrusted XML.
struct TKxDeXmlReadOptions {
  // Object levels read: the elements being read are level 1, their children level 2, ... An
  // element below this level is skipped with its subtree.
  int32_t MaxDepth = 256;
  // True for pasting: every shape keeps the identity it was created with (StoreID/RestoreID
  // around reading, since some classes read the identity whatever they are asked). False for
  // documents and undo records, which restore the stored identities.
  bool KeepID = false;
  // Called after each element of the level a read starts at (not for their children), so that a
  // long read can show its progress.
  std::function<void()> OnObjectDone = {};
};

// What a read did besides making shapes.
struct TKxDeXmlReadReport {
  int32_t ObjectsRead = 0;
  int32_t ObjectsSkipped = 0;
  // One line per skipped element, with its reason and, when known, its offset in the source.
  QStringList Messages;

  void Skip(TXmlNode Node, const QString& Reason);
};

class TKxDeObjectXml {
 public:
  TKxDeObjectXml() = delete;

  // Writes Shape into Node: the "Class" attribute, the shape's own element and, for a container
  // with children, the "os" element with the children.
  static void SaveObject(TXmlNode Node, const TKxDeShapeBase* Shape);
  // Appends an "o" element to Parent and writes Shape into it.
  static TXmlNode AppendObject(TXmlNode Parent, const TKxDeShapeBase* Shape);
  // Writes the children of Container as "o" elements appended to Node, bottom first.
  static void SaveObjects(TXmlNode Node, const TKxDeContainer* Container);

  // The class an object element names: the registered class, or one of the engine's own shape
  // and container classes, which documents name without the host registering them. None for an
  // unknown name.
  static TKxDeShapeClass FindClass(const QString& ClassName);

  // Makes a new shape from one object element (Depth is its level), with its children when it is
  // a container. The shape is not inserted anywhere; none when the element is skipped.
  static TKxDeShapeBase* LoadObject(TXmlNode Node, const TKxDeXmlReadOptions& Options = {},
                                    TKxDeXmlReadReport* Report = nullptr, int32_t Depth = 1);
  // Reads every "o" child of Node into Container, appended in order, with the layer's default
  // styles held back (the shapes keep their own). Returns how many shapes were added.
  static int32_t LoadObjects(TXmlNode Node, TKxDeContainer* Container, const TKxDeXmlReadOptions& Options = {},
                             TKxDeXmlReadReport* Report = nullptr, int32_t Depth = 1);
  // Reads the shape element of an existing object (its class is not checked), as a paste or an
  // undo replay does: inside one update, keeping or restoring the identity as Options say.
  static void LoadContent(TXmlNode Node, TKxDeShapeBase* Shape, const TKxDeXmlReadOptions& Options);

 private:
  struct TReadContext;
  static TKxDeShapeBase* LoadObjectIn(TReadContext& Context, TXmlNode Node, int32_t Depth);
  static int32_t LoadObjectsIn(TReadContext& Context, TXmlNode Node, TKxDeContainer* Container, int32_t Depth);
};

}  // namespace vorn
