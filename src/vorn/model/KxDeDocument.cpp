#include "vorn/model/KxDeDocument.h"

#include "vorn/common/Rounding.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeXmlFormat_p.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <cmath>
#include <cstring>
#include <memory>

namespace vorn {

using namespace xmlformat;

namespace {

// The class name the editor's guide list writes for each guide.
constexpr const char* kGuideClass = "TKxDeGuide";

// Guide positions are world units; the same bound as for coordinates applies.
double MaxGuidePosition() { return MaxLengthMM * static_cast<double>(CoordsPixelsPerMMConvertValue); }

// Sends pugixml's output to a device in large blocks (pugixml hands over a few kilobytes at a
// time) and remembers whether every byte arrived.
struct TDeviceWriter : pugi::xml_writer {
  explicit TDeviceWriter(QIODevice* Device) : FDevice(Device) { FBuffer.reserve(kBlock); }
  void write(const void* Data, size_t Size) override {
    FBuffer.append(static_cast<const char*>(Data), static_cast<qsizetype>(Size));
    if (FBuffer.size() >= kBlock) Flush();
  }
  bool Flush() {
    const char* p = FBuffer.constData();
    qint64 left = FBuffer.size();
    while (FOk && left > 0) {
      const qint64 n = FDevice->write(p, left);
      if (n <= 0) FOk = false;
      else {
        p += n;
        left -= n;
      }
    }
    FBuffer.resize(0);
    return FOk;
  }
  static constexpr qsizetype kBlock = 1 << 20;
  QIODevice* FDevice;
  QByteArray FBuffer;
  bool FOk = true;
};

// "major.minor" with decimal numbers; false for anything else.
bool ParseVersion(const QString& Text, int32_t& Major, int32_t& Minor) {
  const QStringList parts = Text.trimmed().split(QLatin1Char('.'));
  if (parts.size() != 2) return false;
  bool ok1 = false;
  bool ok2 = false;
  Major = parts[0].toInt(&ok1);
  Minor = parts[1].toInt(&ok2);
  return ok1 && ok2 && Major >= 0 && Minor >= 0 && !parts[0].startsWith(QLatin1Char('+')) &&
         !parts[1].startsWith(QLatin1Char('+'));
}

// Reads at most Limit bytes; raises when there are more.
QByteArray ReadLimited(QIODevice* Stream, int64_t Limit, const QString& What) {
  const auto tooLarge = [&] {
    return EKxDeDocumentError(QStringLiteral("%1 is larger than the document size limit of %2 bytes")
                                  .arg(What)
                                  .arg(static_cast<qlonglong>(Limit)));
  };
  if (!Stream->isSequential() && Stream->size() - Stream->pos() > Limit) throw tooLarge();
  QByteArray data;
  if (!Stream->isSequential()) data.reserve(static_cast<qsizetype>(Stream->size() - Stream->pos()));
  char buf[65536];
  for (;;) {
    const qint64 n = Stream->read(buf, sizeof buf);
    if (n < 0) throw EKxDeDocumentError(QStringLiteral("%1 cannot be read: %2").arg(What, Stream->errorString()));
    if (n == 0) break;
    if (data.size() + n > Limit) throw tooLarge();
    data.append(buf, static_cast<qsizetype>(n));
  }
  return data;
}

void FreeLayers(TKxDeLayerList& Layers) {
  for (TKxDeLayer*& layer : Layers) Free(layer);
  Layers.clear();
}

void SavePage(TXmlNode Node, const TKxDeDocumentSettings& S) {
  XmlWriteDouble(Node, "Width", S.PageWidth / static_cast<double>(CoordsPixelsPerMMConvertValue));
  XmlWriteDouble(Node, "Height", S.PageHeight / static_cast<double>(CoordsPixelsPerMMConvertValue));
  XmlWriteInteger(Node, "Color", S.PageColor);
}

// A page size in millimetres to whole world units; negative or absurd sizes keep Current.
int32_t ReadPageSize(TXmlNode Node, const char* Name, int32_t Current) {
  const double mm = XmlReadDoubleIn(Node, Name, -1, 0, MaxLengthMM);
  return mm < 0 ? Current : Round32(mm * static_cast<double>(CoordsPixelsPerMMConvertValue));
}

void LoadPage(TXmlNode Node, TKxDeDocumentSettings& S) {
  if (!Node) return;
  S.PageWidth = ReadPageSize(Node, "Width", S.PageWidth);
  S.PageHeight = ReadPageSize(Node, "Height", S.PageHeight);
  S.PageColor = XmlReadInteger(Node, "Color", S.PageColor);
}

void SaveGuides(TXmlNode Node, const std::vector<TKxDeDocumentGuide>& Guides) {
  for (const TKxDeDocumentGuide& g : Guides) {
    TXmlNode o = XmlAddChild(Node, "o");
    o.append_attribute("Class").set_value(kGuideClass);
    TKxDeDocumentFile::SaveGuideToXML(o, g);
  }
}

void LoadGuides(TXmlNode Node, std::vector<TKxDeDocumentGuide>& Guides, TKxDeXmlReadReport& Report) {
  Guides.clear();
  for (TXmlNode o : XmlChildren(Node, "o")) {
    TKxDeDocumentGuide g;
    if (TKxDeDocumentFile::LoadGuideFromXML(o, g)) Guides.push_back(g);
    else Report.Skip(o, QStringLiteral("Skipped a guide whose position is not a usable number"));
  }
}

// A new layer read from its object element (its shapes are not read here); none when the
// element is skipped.
TOwned<TKxDeLayer> ReadLayer(TXmlNode O, const TKxDeXmlReadOptions& Read, TKxDeXmlReadReport& Report) {
  if (Read.MaxDepth < 1) {
    Report.Skip(O, QStringLiteral("Skipped a layer: objects may be nested %1 levels deep").arg(Read.MaxDepth));
    return nullptr;
  }
  const pugi::xml_attribute classAttr = O.attribute("Class");
  const QString className = QString::fromUtf8(classAttr.value());
  const TKxDeShapeClass cls = classAttr ? TKxDeObjectXml::FindClass(className) : nullptr;
  if (!cls || !cls->InheritsFrom(ClassOf<TKxDeLayer>())) {
    Report.Skip(O, !classAttr ? QStringLiteral("Skipped a layer without a class")
                   : cls      ? QStringLiteral("Skipped an object of class \"%1\" where a layer belongs").arg(className)
                              : QStringLiteral("Skipped a layer of the unknown class \"%1\"").arg(className));
    return nullptr;
  }
  TOwned<TKxDeLayer> layer(static_cast<TKxDeLayer*>(
      cls->Construct<TKxDeShapeBase>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(nullptr))));
  if (!layer) {
    Report.Skip(O, QStringLiteral("Skipped a layer of the class \"%1\", which cannot be created").arg(className));
    return nullptr;
  }
  try {
    TKxDeObjectXml::LoadContent(O, layer.get(), Read);
  } catch (const Exception& e) {
    Report.Skip(O, QStringLiteral("Skipped a layer of class \"%1\": %2").arg(className, e.Message()));
    return nullptr;
  }
  ++Report.ObjectsRead;
  return layer;
}

}  // namespace

// ---- Guides -----------------------------------------------------------------------------------------

void TKxDeDocumentFile::SaveGuideToXML(TXmlNode O, const TKxDeDocumentGuide& G) {
  XmlWriteDouble(O, "GuidPosition", G.Position);
  WriteOrdinal(O, "GuideType", G.GuideType);
}

bool TKxDeDocumentFile::LoadGuideFromXML(TXmlNode O, TKxDeDocumentGuide& G) {
  G = TKxDeDocumentGuide{};
  if (XmlHasValue(O, "GuidPosition")) {
    const double limit = MaxGuidePosition();
    G.Position = XmlReadDoubleIn(O, "GuidPosition", std::nan(""), -limit, limit);
    if (std::isnan(G.Position)) {
      G = TKxDeDocumentGuide{};
      return false;
    }
  }
  G.GuideType = ReadOrdinal(O, "GuideType", TKxDeGuideType::kxgtHorizontal, TKxDeGuideType::kxgtVertical);
  return true;
}

// ---- Writing ----------------------------------------------------------------------------------------

void TKxDeDocumentFile::SaveLayersToXML(TXmlDocument& Document, const TKxDeLayerList& Layers,
                                        const TKxDeDocumentSettings& Settings,
                                        const TKxDeDocumentProgress& OnProgress) {
  Document.reset();
  TXmlNode decl = Document.append_child(pugi::node_declaration);
  decl.append_attribute("version").set_value("1.0");
  decl.append_attribute("encoding").set_value("UTF-8");
  TXmlNode root = Document.append_child(RootName);
  root.append_attribute("Version").set_value(
      QStringLiteral("%1.%2").arg(VersionMajor).arg(VersionMinor).toLatin1().constData());
  SavePage(XmlAddChild(root, "Page"), Settings);
  TXmlNode layers = XmlAddChild(root, "Layers");
  int64_t total = 0;
  for (const TKxDeLayer* layer : Layers) total += layer ? layer->ItemCount() : 0;
  int64_t done = 0;
  for (const TKxDeLayer* layer : Layers) {
    if (!layer) continue;
    // The layer's object element, written child by child so that the progress can be told.
    TXmlNode o = XmlAddChild(layers, "o");
    XmlWriteAttrString(o, "Class", layer->ClassName());
    layer->SaveToXML(o);
    if (layer->ItemCount() == 0) continue;
    TXmlNode os = XmlAddChild(o, "os");
    for (int32_t i = 0; i < layer->ItemCount(); ++i) {
      TKxDeObjectXml::AppendObject(os, layer->Items(i));
      if (OnProgress) OnProgress(++done, total);
    }
  }
  SaveGuides(XmlAddChild(root, "Guides"), Settings.Guides);
}

void TKxDeDocumentFile::SaveLayersToStream(QIODevice* Stream, const TKxDeLayerList& Layers,
                                           const TKxDeDocumentSettings& Settings,
                                           const TKxDeDocumentProgress& OnProgress) {
  if (!Stream || !Stream->isWritable())
    throw EKxDeDocumentError(QStringLiteral("The document stream is not open for writing"));
  TXmlDocument doc;
  SaveLayersToXML(doc, Layers, Settings, OnProgress);
  TDeviceWriter w(Stream);
  doc.save(w, "  ", pugi::format_indent, pugi::encoding_utf8);
  if (!w.Flush())
    throw EKxDeDocumentError(QStringLiteral("The document could not be written: %1").arg(Stream->errorString()));
}

void TKxDeDocumentFile::SaveLayersToFile(const QString& FileName, const TKxDeLayerList& Layers,
                                         const TKxDeDocumentSettings& Settings,
                                         const TKxDeDocumentProgress& OnProgress) {
  QSaveFile file(FileName);
  if (!file.open(QIODevice::WriteOnly))
    throw EKxDeDocumentError(QStringLiteral("Cannot create the document \"%1\": %2").arg(FileName, file.errorString()));
  try {
    SaveLayersToStream(&file, Layers, Settings, OnProgress);
  } catch (const EKxDeDocumentError& e) {
    file.cancelWriting();
    throw EKxDeDocumentError(QStringLiteral("Cannot write the document \"%1\": %2").arg(FileName, e.Message()));
  }
  if (!file.commit())
    throw EKxDeDocumentError(QStringLiteral("Cannot write the document \"%1\": %2").arg(FileName, file.errorString()));
}

// ---- Reading ----------------------------------------------------------------------------------------

TKxDeXmlReadReport TKxDeDocumentFile::LoadLayersFromXML(TXmlNode Root, TKxDeLayerList& Layers,
                                                        TKxDeDocumentSettings& Settings,
                                                        const TKxDeDocumentLoadOptions& Options) {
  if (Root.type() == pugi::node_document)
    Root = Root.find_child([](TXmlNode n) { return n.type() == pugi::node_element; });
  if (!Root) throw EKxDeDocumentError(QStringLiteral("The document is empty"));
  if (std::strcmp(Root.name(), RootName) != 0)
    throw EKxDeDocumentError(QStringLiteral("This is not a Vorn document: its root element is \"%1\", not \"%2\"")
                                 .arg(QString::fromUtf8(Root.name()), QLatin1String(RootName)));
  const pugi::xml_attribute versionAttr = Root.attribute("Version");
  if (!versionAttr) throw EKxDeDocumentError(QStringLiteral("The document does not name its format version"));
  int32_t major = 0;
  int32_t minor = 0;
  const QString version = QString::fromUtf8(versionAttr.value());
  if (!ParseVersion(version, major, minor))
    throw EKxDeDocumentError(
        QStringLiteral("The document's format version \"%1\" is not a version number").arg(version));
  if (major != VersionMajor)
    throw EKxDeDocumentError(
        QStringLiteral("The document has format version %1, which this engine cannot read (it reads %2.x)")
            .arg(version)
            .arg(VersionMajor));

  TKxDeXmlReadReport report;
  TKxDeDocumentSettings settings = Settings;
  LoadPage(XmlSelect(Root, "Page"), settings);
  LoadGuides(XmlSelect(Root, "Guides"), settings.Guides, report);

  TKxDeXmlReadOptions read;
  read.MaxDepth = Options.MaxDepth;
  read.KeepID = false;  // a document restores the identities it stored
  int64_t total = 0;
  int64_t done = 0;
  if (Options.OnProgress) {
    for (TXmlNode o : XmlChildren(XmlSelect(Root, "Layers"), "o"))
      for (TXmlNode child : XmlChildren(XmlSelect(o, "os"), "o")) total += child ? 1 : 0;
    read.OnObjectDone = [&] { Options.OnProgress(++done, total); };
  }
  std::vector<TOwned<TKxDeLayer>> fresh;
  for (TXmlNode o : XmlChildren(XmlSelect(Root, "Layers"), "o")) {
    TOwned<TKxDeLayer> layer = ReadLayer(o, read, report);
    if (!layer) {
      // Its shapes are skipped with it, and count as done.
      if (Options.OnProgress) {
        for (TXmlNode child : XmlChildren(XmlSelect(o, "os"), "o")) done += child ? 1 : 0;
        Options.OnProgress(done, total);
      }
      continue;
    }
    // A layer that no surface holds yet shows the page it was saved with.
    layer->Resize(static_cast<float>(settings.PageWidth), static_cast<float>(settings.PageHeight));
    TKxDeObjectXml::LoadObjects(XmlSelect(o, "os"), layer.get(), read, &report, 2);
    fresh.push_back(std::move(layer));
  }

  // Everything was read: only now does the caller's document change.
  FreeLayers(Layers);
  Layers.reserve(fresh.size());
  for (auto& layer : fresh) Layers.push_back(layer.release());
  Settings = std::move(settings);
  return report;
}

namespace {

// Loads from text that the caller hands over: it is parsed in place.
TKxDeXmlReadReport LoadOwnText(QByteArray& Text, TKxDeLayerList& Layers, TKxDeDocumentSettings& Settings,
                               const TKxDeDocumentLoadOptions& Options) {
  TXmlDocument doc;
  try {
    XmlParseInPlace(doc, Text);  // the document lives inside this call, and so does Text
  } catch (const EXmlError& e) {
    throw EKxDeDocumentError(QStringLiteral("The document is not well-formed XML: %1").arg(e.Message()));
  }
  return TKxDeDocumentFile::LoadLayersFromXML(doc, Layers, Settings, Options);
}

}  // namespace

TKxDeXmlReadReport TKxDeDocumentFile::LoadLayersFromText(const QByteArray& Text, TKxDeLayerList& Layers,
                                                         TKxDeDocumentSettings& Settings,
                                                         const TKxDeDocumentLoadOptions& Options) {
  QByteArray own = Text;
  return LoadOwnText(own, Layers, Settings, Options);
}

TKxDeXmlReadReport TKxDeDocumentFile::LoadLayersFromStream(QIODevice* Stream, TKxDeLayerList& Layers,
                                                           TKxDeDocumentSettings& Settings,
                                                           const TKxDeDocumentLoadOptions& Options) {
  if (!Stream || !Stream->isReadable())
    throw EKxDeDocumentError(QStringLiteral("The document stream is not open for reading"));
  QByteArray text = ReadLimited(Stream, Options.MaxFileSize, QStringLiteral("The document"));
  return LoadOwnText(text, Layers, Settings, Options);
}

TKxDeXmlReadReport TKxDeDocumentFile::LoadLayersFromFile(const QString& FileName, TKxDeLayerList& Layers,
                                                         TKxDeDocumentSettings& Settings,
                                                         const TKxDeDocumentLoadOptions& Options) {
  const QFileInfo info(FileName);
  if (!info.exists()) throw EKxDeDocumentError(QStringLiteral("The document \"%1\" does not exist").arg(FileName));
  if (!info.isFile()) throw EKxDeDocumentError(QStringLiteral("\"%1\" is not a file").arg(FileName));
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EKxDeDocumentError(QStringLiteral("Cannot open the document \"%1\": %2").arg(FileName, file.errorString()));
  QByteArray text = ReadLimited(&file, Options.MaxFileSize, QStringLiteral("The document \"%1\"").arg(FileName));
  try {
    return LoadOwnText(text, Layers, Settings, Options);
  } catch (const EKxDeDocumentError& e) {
    throw EKxDeDocumentError(QStringLiteral("%1 (%2)").arg(e.Message(), FileName));
  }
}

}  // namespace vorn
