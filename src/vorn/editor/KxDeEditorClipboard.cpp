// The editor's copy, cut and paste through the process's clipboard object.

#include "vorn/common/Finally_p.h"
#include "vorn/common/KxDePicture.h"
#include "vorn/common/Units.h"
#include "vorn/common/XmlUtils.h"
#include "vorn/editor/EditorLog_p.h"
#include "vorn/editor/KxDeClipboardPicture_p.h"
#include "vorn/editor/KxDeEditor.h"
#include "vorn/editor/mekClipboard.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeObjectXml.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <cstring>

namespace vorn {

namespace {

constexpr const char* kPayloadType = "vorn.mek.data";
// Containers nested deeper than this in a payload are left out with what they hold.
constexpr int32_t kMaxPasteDepth = 64;
const QString kSvgMime = QStringLiteral("image/svg+xml");

}  // namespace

void TKxDeCustomEditor::InitiateClipViewer() {
  if (FInClipChain || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  FInClipChain = true;
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateClipboardData(); });
  UpdateClipboardData();
}

void TKxDeCustomEditor::UpdateClipboardData() {
  if (Loading() || Destroying()) return;
  // An SVG drawing counts where the editor pastes pictures.
  FHasClipboardData = MekClipboard()->HasMekFormat() || (FPictureShapeClass && MekClipboard()->HasMimeType(kSvgMime));
  FHasClipboardProfileData = MekClipboard()->HasMekProfileFormat();
  DoClipboardChanged();
}

void TKxDeCustomEditor::CopyToClipboard(int32_t Behavior) {
  FPasteCount = 0;
  if (FSelections.empty()) return;
  TXmlDocument doc;
  TXmlNode root = doc.append_child("os");
  root.append_attribute("type").set_value(kPayloadType);
  root.append_attribute("version").set_value("1.0");
  if (Behavior != 0) root.append_attribute("behavior").set_value(Behavior);
  QString text;
  for (const TKxDeShapeBase* s : FSelections) {
    TKxDeObjectXml::AppendObject(root, s);
    const QString t = s->GetStdClipboardText();
    if (!t.isEmpty()) text += t + QLatin1Char('\n');
  }
  QByteArray bytes = XmlToText(doc, false);
  QBuffer stream(&bytes);
  stream.open(QIODevice::ReadOnly);
  TmekClipboard* clipboard = MekClipboard();
  clipboard->BeginUpdate();
  TFinally end([clipboard] { clipboard->EndUpdate(); });
  clipboard->SetCurrentFormat(clipboard->ObjectsFormat());
  clipboard->CopyFromStream(&stream);
  clipboard->SetAsText(text);
  if (FClipboardPictures) {
    // Drawn from the payload only when a program asks: the shapes may be gone by then.
    const double zoom = devicePixelRatioF();
    clipboard->SetDeferred(kSvgMime, [bytes] { return TKxDeClipboardPicture::Svg(bytes); });
    clipboard->SetDeferred(QStringLiteral("image/png"),
                           [bytes, zoom] { return TKxDeClipboardPicture::Png(bytes, zoom); });
  }
}

void TKxDeCustomEditor::CutToClipboard() {
  CopyToClipboard(1);
  DeleteSelection();
}

void TKxDeCustomEditor::PasteFromClipboard() {
  ++FPasteCount;
  TKxDeLayer* layer = GetActiveLayer();
  if (!layer) return;
  TmekClipboard* clipboard = MekClipboard();
  if (clipboard->HasFormat(clipboard->ObjectsFormat())) {
    QByteArray bytes;
    {
      QBuffer stream(&bytes);
      stream.open(QIODevice::WriteOnly);
      clipboard->CopyToStream(clipboard->ObjectsFormat(), &stream);
    }
    TXmlDocument doc;
    try {
      XmlParse(doc, bytes);
    } catch (const EXmlError& e) {
      qCDebug(lcEditor) << "Paste: the clipboard's shapes cannot be read:" << e.Message();
      return;
    }
    TXmlNode root = doc.child("os");
    if (!root || std::strcmp(root.attribute("type").as_string(), kPayloadType) != 0) {
      qCDebug(lcEditor) << "Paste: the clipboard holds no shapes of this engine";
      return;
    }
    // A copy lands one millimetre further at each paste; a cut where it was.
    const bool cut = root.attribute("behavior").as_int(0) != 0;
    const float offset = cut ? 0.0f : static_cast<float>(FPasteCount) * CoordsPixelsPerMMConvertValue;
    AsOnePaste([&] {
      layer->BeginUpdate();
      layer->SkipDefaultProperty();
      TFinally layerEnd([layer] {
        layer->UnskipDefaultProperty();
        layer->EndUpdate();
      });
      PasteShapes(root, layer, offset, 1);
    });
    CallEvent(OnAfterPasteFromClipboard, this);
    return;
  }
  if (!OnPasteCustomClipboardFormats) {
    if (FPictureShapeClass) PastePicture(layer);
    return;
  }
  AsOnePaste([&] {
    for (int32_t i = 0, n = clipboard->GetFormatCount(); i < n; ++i) {
      const uint16_t format = clipboard->GetFormats(i);
      if (format == clipboard->ObjectsFormat()) continue;
      bool more = false;
      OnPasteCustomClipboardFormats(this, format, more);
      if (!more) break;
    }
  });
}

void TKxDeCustomEditor::AsOnePaste(const std::function<void()>& Paste) {
  BeginUndoGroup();
  TFinally undo([this] { EndUndoGroup(); });
  BeginUpdate();
  TFinally update([this] { EndUpdate(); });
  ClearSelection();
  Paste();
}

bool TKxDeCustomEditor::PastePicture(TKxDeLayer* Into) {
  QByteArray bytes;
  QString extension;
  if (!TKxDeClipboardPicture::Read(MekClipboard(), bytes, extension)) return false;
  TOwned<TKxDeShapeBase> shape(FPictureShapeClass->Construct<TKxDeShapeBase>(static_cast<TKxDeSurface*>(nullptr),
                                                                             static_cast<TKxDeContainer*>(nullptr)));
  if (!shape) return false;
  TKxDePicture* picture = shape->Picture();
  try {
    // The kind of data picks the decoder; the picture came from no file.
    picture->SetPicturePath(QStringLiteral("clipboard.") + extension);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    picture->LoadFromStream(&stream);
    picture->SetPicturePath(QString());
  } catch (const Exception& e) {
    qCDebug(lcEditor) << "Paste: the clipboard's picture cannot be read:" << e.Message();
    return false;
  }
  QSizeF size = TKxDeClipboardPicture::NaturalSize(picture->GetGraphic());
  if (size.isEmpty()) return false;
  // At its own size where the page has room for it, else as large as fits, centred on what the
  // user sees of the page.
  const QSizeF page(Layer()->Width(), Layer()->Height());
  if (!page.isEmpty() && (size.width() > page.width() || size.height() > page.height()))
    size = size.scaled(page, Qt::KeepAspectRatio);
  const TRectF seen = VisibleArea();
  QRectF where =
      QRectF(QPointF(seen.Left, seen.Top), QPointF(seen.Right, seen.Bottom)).intersected(QRectF(QPointF(0, 0), page));
  if (where.isEmpty()) where = QRectF(QPointF(0, 0), page);
  QPointF corner = where.center() - QPointF(size.width() / 2, size.height() / 2);
  if (!page.isEmpty()) {
    corner.setX(std::clamp(corner.x(), 0.0, page.width() - size.width()));
    corner.setY(std::clamp(corner.y(), 0.0, page.height() - size.height()));
  }
  shape->SetBounds(static_cast<float>(corner.x()), static_cast<float>(corner.y()), static_cast<float>(size.width()),
                   static_cast<float>(size.height()));
  AsOnePaste([&] {
    Into->InsertShape(shape.get());
    if (shape->Owner() == Into) AddSelection(shape.release());
  });
  CallEvent(OnAfterPasteFromClipboard, this);
  return true;
}

bool TKxDeCustomEditor::PasteShapes(TXmlNode Os, TKxDeContainer* Into, float Offset, int32_t Depth) {
  if (Depth > kMaxPasteDepth) {
    qCDebug(lcEditor) << "Paste: shapes nested deeper than" << kMaxPasteDepth << "levels are left out";
    return false;
  }
  bool any = false;
  const TKxDeXmlReadOptions keepID{.KeepID = true};
  for (TXmlNode o : XmlChildren(Os, "o")) {
    const TKxDeShapeClass cls = TKxDeObjectXml::FindClass(XmlReadAttrString(o, "Class"));
    if (!cls || cls == ClassOf<TKxDeLayer>()) continue;
    TOwned<TKxDeShapeBase> shape(
        cls->Construct<TKxDeShapeBase>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(nullptr)));
    if (!shape) continue;
    shape->OnLoadError = OnShapeLoadError;
    CallEvent(OnBeforeLoadingDuringPaste, this, shape.get());
    try {
      // The shape keeps the identity it was made with: a pasted copy never takes the copied shape's.
      TKxDeObjectXml::LoadContent(o, shape.get(), keepID);
      if (Offset != 0) shape->MoveBy(Offset, Offset);
    } catch (const Exception& e) {
      qCDebug(lcEditor) << "Paste: a shape of class" << cls->ClassName() << "was left out:" << e.Message();
      CallEvent(OnShapeLoadError, shape.get(), e.Message(), -1);
      continue;
    }
    shape->OnLoadError = nullptr;
    Into->InsertShape(shape.get());
    if (shape->Owner() != Into) continue;
    TKxDeShapeBase* s = shape.release();
    any = true;
    AddSelection(s);
    if (auto* c = dynamic_cast<TKxDeContainer*>(s))
      if (TXmlNode inner = XmlSelect(o, "os")) PasteShapes(inner, c, Offset, Depth + 1);
    CallEvent(OnAfterLoadingDuringPaste, this, s);
  }
  return any;
}

}  // namespace vorn
