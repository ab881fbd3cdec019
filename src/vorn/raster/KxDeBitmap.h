#pragma once
// TKxDeBitmap: the engine's raster graphic, used as off-screen paint buffer by the surface and for
// previews. The pixels are a 32-bit QImage (RGB32, or ARGB32 when the pixel format is pf32bit);
// copies share the pixels until one of them is written (QImage's implicit sharing), and the
// lazily created canvas draws straight into them.

#include "vorn/common/Canvas.h"
#include "vorn/common/Color.h"
#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

class QIODevice;
class QMimeData;

namespace vorn {
namespace KxDEBitmap {
Q_NAMESPACE

// What Rotation90 does to a bitmap.
enum class TKxDeBitmapRotationstyle : uint8_t { brs0, brs90, brs180, brs270, brsHorMirror, brsVerMirror };
Q_ENUM_NS(TKxDeBitmapRotationstyle)

// The bitmap depths of the drawing vocabulary. A TKxDeBitmap always stores 32 bits per pixel: pf32bit keeps an
// alpha channel, pfDevice and pf24bit are opaque, and the other depths are kept as pf24bit.
enum class TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
Q_ENUM_NS(TPixelFormat)

// tmAuto: the bottom-left pixel gives the transparent colour; tmFixed: TransparentColor does.
enum class TTransparentMode : uint8_t { tmAuto, tmFixed };
Q_ENUM_NS(TTransparentMode)

}  // namespace KxDEBitmap

using namespace KxDEBitmap;

// Standard clipboard format numbers used by the raster graphics.
inline constexpr uint16_t CF_BITMAP = 2;

class TKxDeBitmap : public TPersistent {
  VORN_OBJECT(TKxDeBitmap, TPersistent)

 public:
  TKxDeBitmap();
  TKxDeBitmap(int32_t Width, int32_t Height, TPixelFormat PixelFormat = TPixelFormat::pfDevice);
  ~TKxDeBitmap() override;

  // Shares the pixels of another TKxDeBitmap (copy on write).
  void Assign(const TPersistent* Source) override;

  int32_t Width() const { return FImage.width(); }
  int32_t Height() const { return FImage.height(); }
  void SetWidth(int32_t Value) { SetSize(Value, Height()); }
  void SetHeight(int32_t Value) { SetSize(Width(), Value); }
  // Keeps the pixels that still fit at the top left and fills new area white. Negative sizes are 0.
  void SetSize(int32_t AWidth, int32_t AHeight);
  bool Empty() const { return FImage.isNull(); }

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value);

  // Transparency used by Draw. The transparent colour defaults to clDefault, which means the
  // bottom-left pixel; setting a colour makes the mode tmFixed, setting tmAuto resets it.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);
  // A 1-bit mask: 1 where a pixel has the transparent colour (empty for an empty bitmap).
  QImage Mask() const;

  // The canvas drawing into the pixels. It is created on first use and stays the same object for
  // the bitmap's life; resizing or replacing the pixels restarts it with its pen, brush and font.
  // Asking for it counts as a change of the bitmap.
  TCanvas* Canvas();
  bool HasCanvas() const { return FCanvas.has_value(); }

  // The pixels for reading and drawing. A copy taken while the canvas is alive is a deep copy,
  // so later drawing never reaches it.
  const QImage& Image() const { return FImage; }
  // Replaces the pixels with Image converted to this bitmap's 32-bit format.
  void SetImage(const QImage& Image);

  // Row access; null outside the bitmap. The writable form counts as a change.
  uint8_t* ScanLine(int32_t Row);
  const uint8_t* ScanLine(int32_t Row) const;

  // Stretches the bitmap into Rect on a canvas, leaving transparent pixels out when Transparent.
  void Draw(TCanvas* ACanvas, const TRect& Rect) const;

  // Reading accepts every format Qt reads (BMP first of all); writing writes the Windows bitmap
  // format. Unreadable data raises Exception and leaves the bitmap as it was.
  void LoadFromStream(QIODevice* Stream);
  void SaveToStream(QIODevice* Stream) const;
  void LoadFromFile(const QString& FileName);
  void SaveToFile(const QString& FileName) const;

  // Clipboard: CF_BITMAP carries the image as Qt's image data. Data null means the clipboard.
  void LoadFromClipboardFormat(uint16_t Format, const QMimeData* Data);
  // Format and Data become 0 and null for an empty bitmap; the caller owns Data.
  void SaveToClipboardFormat(uint16_t& Format, QMimeData*& Data) const;

  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  TNotifyEvent OnChange;

 protected:
  // Marks the bitmap modified and raises OnChange.
  virtual void Changed();

 private:
  QImage::Format StorageFormat() const;
  // Takes a loaded image with the depth it came with: pf32bit with alpha, pf24bit without.
  void TakeImage(const QImage& Image);
  // Swaps the pixels; a live canvas is ended before and restarted after.
  void ReplaceImage(QImage Image);
  QPaintDevice* PaintTarget();

  QImage FImage;
  QImage FScratch;  // what an empty bitmap's canvas draws on
  std::optional<TCanvas> FCanvas;
  TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
  bool FTransparent = false;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
  bool FModified = false;
};

}  // namespace vorn
