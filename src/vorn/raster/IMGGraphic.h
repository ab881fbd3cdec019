#pragma once
// TIMGGraphic: a 1-bit bitmap that reads and writes GEM IMG files (".img") and their hexadecimal
// text form (".asc"), and travels through the clipboard as "IMG Image".

#include "vorn/common/Canvas.h"
#include "vorn/common/Events.h"
#include "vorn/common/Graphic.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"
#include "vorn/raster/IMGCodec.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>

class QIODevice;
class QMimeData;

namespace vorn {

class TKxDeBitmap;

// The clipboard format of IMG data, registered under the name "IMG Image" on first use (a number
// from 0xC000 up). On the clipboard the data travels under IMGClipboardMimeType().
uint16_t CF_IMG();
QString IMGClipboardMimeType();

class TIMGGraphic : public TGraphic {
  VORN_OBJECT(TIMGGraphic, TGraphic)

 public:
  TIMGGraphic();
  ~TIMGGraphic() override;

  // The pixels. Decoding gives Format_Mono with black at index 0 and white at index 1. Any image
  // may be set (as a bitmap may take any depth), but only a 1-bit image can be saved.
  const QImage& Bitmap() const { return FBitmap; }
  void SetBitmap(const QImage& Value);
  int32_t Width() const override { return FBitmap.width(); }
  int32_t Height() const override { return FBitmap.height(); }
  bool Empty() const override { return FBitmap.isNull(); }
  int32_t BitsPerPixel() const override { return 1; }
  bool IsBitmap() const override { return true; }

  // While set, LoadFromStream expects and SaveToStream writes the hexadecimal text form.
  // LoadFromFile sets it from the file extension (".asc", any case).
  bool TextForm() const { return FTextForm; }
  void SetTextForm(bool Value) { FTextForm = Value; }

  // Decodes at the stream's position (through the text form when the flag is set) and announces
  // the change. A file with more than one plane leaves the image as it was.
  void LoadFromStream(QIODevice* Stream) override;
  // The stored form inside a picture: the byte form, or no data at all for a graphic without an
  // image (a file of several planes loads none), which reads back as such.
  void ReadData(QIODevice* Stream) override;
  void WriteData(QIODevice* Stream) const override;
  // Encodes at the stream's position and clears the modified flag.
  void SaveToStream(QIODevice* Stream) const override;
  void LoadFromFile(const QString& FileName);
  // Writes the form the text-form flag selects.
  void SaveToFile(const QString& FileName);

  // The byte-form codec on a stream.
  void DoDecodeFromStream(QIODevice* Stream);
  void DoEncodeToStream(QIODevice* Stream) const;

  // Hexadecimal text form to byte form, from Source's position to its end.
  static void TransformASCIItoBinStream(QIODevice* Source, QIODevice* Dest);

  // CF_IMG data is loaded as a stream, CF_BITMAP as a bitmap (taking its depth); Data null means
  // the clipboard. Another format raises EImgException.
  void LoadFromClipboardFormat(uint16_t Format, const QMimeData* Data);
  // Empty: Format 0 and Data null. Otherwise Format CF_IMG and new data (owned by the caller)
  // holding what SaveToStream writes.
  void SaveToClipboardFormat(uint16_t& Format, QMimeData*& Data);

  // Copies another IMG graphic or a TKxDeBitmap (nothing for itself).
  void Assign(const TPersistent* Source) override;
  // True only for this very object.
  bool Equals(const TIMGGraphic* Graphic) const { return Graphic == this; }

  // Stretches the image into Rect.
  void Draw(TCanvas* ACanvas, const TRect& Rect) const;
  void Draw(QPainter* Painter, const QRectF& Target) const override;
  QImage ToImage(QSize Size = QSize()) const override;

  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  TNotifyEvent OnChange;

 protected:
  void AssignTo(TPersistent* Dest) const override;
  void CopyFrom(const TGraphic& Source) override;
  virtual void Changed();

 private:
  QImage FBitmap;
  bool FTextForm = false;
  mutable bool FModified = false;
};

// Turns a 24-bit image grey in place: blue, green and red all become
// (77 * red + 151 * green + 28 * blue) shr 8. Other formats are left unchanged.
void ConvertToGrayScale(QImage& Bitmap);
// The same for a bitmap of pixel format pf24bit.
void ConvertToGrayScale(TKxDeBitmap* Bitmap);

// Registration with the picture registry: the registry calls this at its start with its own
// registration functions; it registers the extension "IMG" with the description "IMG Image" and
// binds CF_IMG to TIMGGraphic.
using TRegisterFileFormatProc =
    std::function<void(const QString& Extension, const QString& Description, const TClass* GraphicClass)>;
using TRegisterClipboardFormatProc = std::function<void(uint16_t Format, const TClass* GraphicClass)>;
void RegisterIMGGraphic(const TRegisterFileFormatProc& RegisterFileFormat,
                        const TRegisterClipboardFormatProc& RegisterClipboardFormat);
// At the registry's end: removes TIMGGraphic again.
using TUnregisterGraphicClassProc = std::function<void(const TClass* GraphicClass)>;
void UnregisterIMGGraphic(const TUnregisterGraphicClassProc& UnregisterGraphicClass);

}  // namespace vorn
