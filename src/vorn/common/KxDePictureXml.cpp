// The picture element of the picture holder and of the picture props of controls.

#include "vorn/common/CommonLib.h"
#include "vorn/common/Exceptions.h"
#include "vorn/common/KxDePicture.h"
#include "vorn/common/PictureRegisteredFormats.h"
#include "vorn/common/XmlUtils.h"

#include <QBuffer>

namespace vorn {

namespace {

void ReportPictureProblem(const QString& Path, const QString& Problem) {
  PostDebugMessage(Path.isEmpty() ? QStringLiteral("Picture not loaded: %1").arg(Problem)
                                  : QStringLiteral("Picture \"%1\" not loaded: %2").arg(Path, Problem));
}

}  // namespace

void TKxDePicture::SaveToXML(TXmlNode Node) const {
  XmlWriteBool(Node, "Store", FStorePicture);
  XmlWriteString(Node, "Path", FPicturePath);
  XmlWriteBool(Node, "KeepRatio", FKeepRatio);
  XmlWriteInteger(Node, "DitherMode", FDitherMode);
  XmlWriteBool(Node, "NoAntialiasingAllowed", FNoAntialiasingAllowed);
  XmlWriteBool(Node, "Visible", FVisible);
  if (FRotation != 0) XmlWriteDouble(Node, "Rotation", FRotation);
  if (!FStorePicture || FHasEmptyPicture || GetEmpty()) return;
  const TGraphic* g = FPicture->Graphic();
  TXmlNode data = XmlAddChild(Node, "Data");
  XmlWriteAttrString(data, "Class", g->ClassName());
  // The file's own bytes when there are any: they keep the format, its compression and metadata.
  const bool file = !FImageFileStream.isEmpty();
  XmlWriteAttrBool(data, "File", file);
  XmlWriteBytes(data, file ? FImageFileStream : PictureToBytes(FPicture.get()));
}

void TKxDePicture::LoadFromXML(TXmlNode Node) {
  auto* owner = dynamic_cast<IKxDePictureOwner*>(FOwner);
  if (owner) owner->BeginPictureChange();
  struct TClose {
    IKxDePictureOwner* Owner;
    ~TClose() {
      if (!Owner) return;
      Owner->PicturePropertyChanged();
      Owner->EndPictureChange();
    }
  } close{owner};

  FStorePicture = XmlReadBool(Node, "Store", FStorePicture);
  FPicturePath = XmlReadString(Node, "Path", FPicturePath);
  FKeepRatio = XmlReadBool(Node, "KeepRatio", FKeepRatio);
  FDitherMode = XmlReadInteger(Node, "DitherMode", 0);
  FNoAntialiasingAllowed = XmlReadBool(Node, "NoAntialiasingAllowed", FNoAntialiasingAllowed);
  FVisible = XmlReadBool(Node, "Visible", FVisible);

  if (FStorePicture) {
    if (TXmlNode data = XmlSelect(Node, "Data")) {
      QByteArray bytes;
      const bool file = XmlReadAttrBool(data, "File", false);
      if (!XmlReadBytes(data, bytes)) {
        ReportPictureProblem(FPicturePath, QStringLiteral("its stored data is not base64"));
      } else if (!bytes.isEmpty()) {
        try {
          if (file) {
            // The stored class decodes first; the path's extension and the fallbacks after it.
            TOwned<TGraphic> graphic;
            const TGraphicClass named = GraphicClassByName(XmlReadAttrString(data, "Class"));
            if (named) {
              graphic.reset(named->Construct<TGraphic>());
              if (graphic) {
                if (OnGraphicCreated) OnGraphicCreated(graphic.get());
                QBuffer buf(&bytes);
                buf.open(QIODevice::ReadOnly);
                try {
                  graphic->LoadFromStream(&buf);
                } catch (const Exception&) {
                  graphic.reset();
                }
              }
            }
            if (!graphic) graphic = DecodeGraphic(bytes, FPicturePath, {});
            // Not a fresh load: the options just read stay as they were written.
            InstallGraphic(std::move(graphic), bytes);
          } else {
            PictureFromBytes(FPicture.get(), bytes);
            ClearImageFileStream();
            FHasEmptyPicture = false;
          }
        } catch (const Exception& e) {
          ReportPictureProblem(FPicturePath, e.Message());
        }
      }
    }
  } else if (!FPicturePath.isEmpty()) {
    try {
      LoadFromFile(FPicturePath);  // starts unrotated; the rotation read below applies to it
    } catch (const Exception& e) {
      ReportPictureProblem(FPicturePath, e.Message());
    }
  }
  // Only a rotated picture writes its rotation, so an absent one is 0.
  FRotation = XmlReadDoubleIn(Node, "Rotation", 0, -1e9, 1e9);
  if (GetEmpty() && !FPicturePath.isEmpty()) LoadEmptyPicture();
  // Last, so the ratio describes the picture as loaded.
  DoOnChange();
}

void TKxDeCustomPictureProps::SaveToXML(TXmlNode Node) const {
  TKxDePicture::SaveToXML(Node);
  XmlWriteInteger(Node, "Indent", FHorizontalIndent);
  XmlWriteInteger(Node, "Orient", static_cast<int32_t>(FOrient));
  XmlWriteInteger(Node, "Index", FPictureIndex);
  XmlWriteInteger(Node, "TopIndent", FVerticalIndent);
}

void TKxDeCustomPictureProps::LoadFromXML(TXmlNode Node) {
  TKxDePicture::LoadFromXML(Node);
  FHorizontalIndent = XmlReadInteger(Node, "Indent", FHorizontalIndent);
  const int32_t orient =
      XmlReadIntegerIn(Node, "Orient", -1, 0, static_cast<int32_t>(TKxDePictureOrient::kxdpoStretch));
  if (orient >= 0) FOrient = static_cast<TKxDePictureOrient>(orient);
  FPictureIndex = XmlReadInteger(Node, "Index", FPictureIndex);
  FVerticalIndent = XmlReadInteger(Node, "TopIndent", FVerticalIndent);
  DoOnChange();
}

}  // namespace vorn
