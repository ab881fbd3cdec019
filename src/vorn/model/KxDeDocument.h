#pragma once
// The engine's document file (extension ".vorn"): a list of layers with their shapes, the page
// they lie on and the user's guides, in one XML document.
//
//   <VornDocument Version="1.0">
//     <Page><Width>..</Width><Height>..</Height><Color>..</Color></Page>   (millimetres, TColor)
//     <Layers><o Class="TKxDeLayer" ID="..">..<os><o Class="..">..</o>..</os></o>..</Layers>
//     <Guides><o Class="TKxDeGuide"><GuidPosition>..</GuidPosition><GuideType>..</GuideType></o></Guides>
//   </VornDocument>
//
// The layers are object elements (KxDeObjectXml.h), bottom layer first; guides are written as the
// editor's guide list writes them. A reader accepts every 1.x version: later minor versions only
// add elements, which older readers ignore.
//
// Loading builds fresh layers and replaces the caller's only when the whole document was read, so
// a failed load leaves everything as it was and raises EKxDeDocumentError with a clear message.

#include "vorn/common/Color.h"
#include "vorn/common/DrawingCommons.h"
#include "vorn/common/XmlUtils.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeObjectXml.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QIODevice;

namespace vorn {

// Progress of a long save or load: Done of Total shapes lying directly in the layers (each with
// whatever it holds).
using TKxDeDocumentProgress = std::function<void(int64_t Done, int64_t Total)>;

// A document file cannot be read or written (unreadable file, malformed XML, not a document, a
// version this engine does not read).
class EKxDeDocumentError : public EXmlError {
 public:
  using EXmlError::EXmlError;
};

// A guide line kept with a document: at y = Position (horizontal) or x = Position (vertical),
// in world units.
struct TKxDeDocumentGuide {
  double Position = 0;
  TKxDeGuideType GuideType = TKxDeGuideType::kxgtHorizontal;
  bool operator==(const TKxDeDocumentGuide&) const = default;
};

// Everything of a document besides its layers.
struct TKxDeDocumentSettings {
  // The page in world units, as the surface's layer properties hold it.
  int32_t PageWidth = 400;
  int32_t PageHeight = 400;
  TColor PageColor = clWhite;
  std::vector<TKxDeDocumentGuide> Guides;
};

// Limits a document reader applies to untrusted files.
struct TKxDeDocumentLoadOptions {
  // Object levels read below the document (a layer is level 1, its shapes level 2, ...); deeper
  // objects are skipped with their subtrees and reported.
  int32_t MaxDepth = 256;
  // Files larger than this many bytes are refused before they are read.
  int64_t MaxFileSize = int64_t{1} << 30;
  TKxDeDocumentProgress OnProgress;
};

// Reads and writes document files (".vorn"): layers, page and guides, with progress and clear errors.
class TKxDeDocumentFile {
 public:
  TKxDeDocumentFile() = delete;

  static constexpr const char* Extension = "vorn";
  static constexpr const char* RootName = "VornDocument";
  static constexpr int32_t VersionMajor = 1;
  static constexpr int32_t VersionMinor = 0;

  // ---- One guide's element (the content of its "o" element) ---------------------------------
  // Its position and type as value elements.
  static void SaveGuideToXML(TXmlNode O, const TKxDeDocumentGuide& G);
  // Reads G back: a missing position is 0, a missing or unknown type horizontal. False (G reset)
  // when the position is not a number or lies beyond any page.
  static bool LoadGuideFromXML(TXmlNode O, TKxDeDocumentGuide& G);

  // ---- Writing (raises EKxDeDocumentError when the stream or file cannot be written) ---------
  // Builds the document in Document (replacing what it held).
  static void SaveLayersToXML(TXmlDocument& Document, const TKxDeLayerList& Layers,
                              const TKxDeDocumentSettings& Settings = {}, const TKxDeDocumentProgress& OnProgress = {});
  static void SaveLayersToStream(QIODevice* Stream, const TKxDeLayerList& Layers,
                                 const TKxDeDocumentSettings& Settings = {},
                                 const TKxDeDocumentProgress& OnProgress = {});
  // Writes a new file beside the old one and renames it, so a failed save keeps the old file.
  static void SaveLayersToFile(const QString& FileName, const TKxDeLayerList& Layers,
                               const TKxDeDocumentSettings& Settings = {},
                               const TKxDeDocumentProgress& OnProgress = {});

  // ---- Reading --------------------------------------------------------------------------------
  // Reads the whole document into new layers (without surface, their area the page). Only when
  // that succeeded are the layers held in Layers freed (which takes them out of their surface)
  // and replaced by the new ones, and Settings replaced. Elements that cannot be read are skipped
  // as the report tells; a document that is not one raises EKxDeDocumentError and changes nothing.
  static TKxDeXmlReadReport LoadLayersFromXML(TXmlNode Root, TKxDeLayerList& Layers, TKxDeDocumentSettings& Settings,
                                              const TKxDeDocumentLoadOptions& Options = {});
  static TKxDeXmlReadReport LoadLayersFromStream(QIODevice* Stream, TKxDeLayerList& Layers,
                                                 TKxDeDocumentSettings& Settings,
                                                 const TKxDeDocumentLoadOptions& Options = {});
  static TKxDeXmlReadReport LoadLayersFromFile(const QString& FileName, TKxDeLayerList& Layers,
                                               TKxDeDocumentSettings& Settings,
                                               const TKxDeDocumentLoadOptions& Options = {});
  // The same from document text in memory.
  static TKxDeXmlReadReport LoadLayersFromText(const QByteArray& Text, TKxDeLayerList& Layers,
                                               TKxDeDocumentSettings& Settings,
                                               const TKxDeDocumentLoadOptions& Options = {});
};

}  // namespace vorn
