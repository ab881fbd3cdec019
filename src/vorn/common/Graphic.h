#pragma once
// Graphics: one image of a registered file format. A picture (TPicture) holds one graphic; the
// picture registry maps file extensions to graphic classes. Raster formats go through Qt's image
// readers and writers, SVG is kept as a vector drawing, other codecs register classes of their own.

#include "vorn/common/Color.h"
#include "vorn/common/Object.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>

#include <cstdint>
#include <memory>

class QIODevice;
class QPainter;
class QSvgRenderer;

namespace vorn {

class TGraphic : public TPersistent {
  VORN_OBJECT(TGraphic, TPersistent)

 public:
  // Graphic classes are made by class reference (file extension or stored class name).
  using TConstructor = TGraphic* (*)();
  template <class T>
  static TGraphic* NewInstance() { return Create<T>(); }

  // Reads the graphic from the device's remaining bytes; raises on data it cannot decode and
  // then keeps its previous content.
  virtual void LoadFromStream(QIODevice* Stream) = 0;
  virtual void SaveToStream(QIODevice* Stream) const = 0;
  // The graphic's own persistent data (what a picture stores after the class name).
  virtual void ReadData(QIODevice* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(QIODevice* Stream) const { SaveToStream(Stream); }

  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
  // Paints the graphic scaled into Target.
  virtual void Draw(QPainter* Painter, const QRectF& Target) const = 0;
  // The graphic as it is drawn, as a raster image of the given size (its own size when Size is
  // empty).
  virtual QImage ToImage(QSize Size = QSize()) const;
  // Bits per pixel of the source data (1 and 8 bit bitmaps are drawn opaque); 0 for vector graphics.
  virtual int32_t BitsPerPixel() const { return 0; }
  virtual bool SupportsPartialTransparency() const { return false; }
  virtual bool IsVector() const { return false; }
  // True for plain bitmaps (BMP and the bitmap-based codecs): those of 1 or 8 bits per pixel are
  // drawn opaque.
  virtual bool IsBitmap() const { return false; }

  // A transparent bitmap leaves out its pixels of the transparent colour when drawn; clDefault,
  // the default, takes the colour of its bottom-left pixel, clNone leaves nothing out. Bitmaps
  // with an alpha channel carry their own transparency instead, and vector graphics draw only
  // what they contain.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value) { FTransparentColor = Value; }

  // A copy of this graphic of the same class.
  TGraphic* Clone() const;

 protected:
  void AssignTo(TPersistent* Dest) const override;
  // Copies class-specific state; called by Clone and Assign on a graphic of the same class.
  virtual void CopyFrom(const TGraphic& Source) = 0;
  // The pixels Image of this graphic as they are drawn: with the transparent colour left out
  // when the graphic is transparent and Image has no alpha channel. Made once for each change of
  // the pixels, the flag or the colour, and kept for the paints after.
  const QImage& DrawnImage(const QImage& Image) const;

 private:
  bool FTransparent = false;
  TColor FTransparentColor = clDefault;
  mutable QImage FDrawn;
  mutable qint64 FDrawnFrom = 0;
  mutable QRgb FDrawnKey = 0;
};

// A raster graphic decoded through Qt's image readers. Each file format is a class of its own
// (TBitmap, TPngImage, TJPEGImage, TGIFImage, ...) so stored documents name the format.
class TRasterGraphic : public TGraphic {
  VORN_OBJECT(TRasterGraphic, TGraphic)

 public:
  void LoadFromStream(QIODevice* Stream) override;
  void SaveToStream(QIODevice* Stream) const override;
  int32_t Width() const override { return FImage.width(); }
  int32_t Height() const override { return FImage.height(); }
  void Draw(QPainter* Painter, const QRectF& Target) const override;
  QImage ToImage(QSize Size = QSize()) const override;
  int32_t BitsPerPixel() const override { return FBitsPerPixel; }
  bool SupportsPartialTransparency() const override { return FImage.hasAlphaChannel(); }

  const QImage& Image() const { return FImage; }
  void SetImage(const QImage& Image);
  // The Qt format name used to encode ("png", "bmp", ...).
  virtual QByteArray FormatName() const = 0;

 protected:
  void CopyFrom(const TGraphic& Source) override;

 private:
  QImage FImage;
  int32_t FBitsPerPixel = 32;
};

// A BMP image.
class TBitmap : public TRasterGraphic {
  VORN_OBJECT(TBitmap, TRasterGraphic)
 public:
  bool IsBitmap() const override { return true; }
  QByteArray FormatName() const override { return QByteArrayLiteral("bmp"); }
};

// A PNG image.
class TPngImage : public TRasterGraphic {
  VORN_OBJECT(TPngImage, TRasterGraphic)
 public:
  QByteArray FormatName() const override { return QByteArrayLiteral("png"); }
};

// A JPEG image.
class TJPEGImage : public TRasterGraphic {
  VORN_OBJECT(TJPEGImage, TRasterGraphic)
 public:
  QByteArray FormatName() const override { return QByteArrayLiteral("jpg"); }
};

// A GIF image.
class TGIFImage : public TRasterGraphic {
  VORN_OBJECT(TGIFImage, TRasterGraphic)
 public:
  // GIF is read through Qt and written as PNG data (Qt has no GIF writer); the class still says GIF.
  QByteArray FormatName() const override { return QByteArrayLiteral("png"); }
};

// Any other format Qt reads (tiff, webp, pbm, ...); stored as PNG data.
class TQtImage : public TRasterGraphic {
  VORN_OBJECT(TQtImage, TRasterGraphic)
 public:
  QByteArray FormatName() const override { return QByteArrayLiteral("png"); }
};

// An SVG drawing, kept as its source and painted as vectors.
class TSvgGraphic : public TGraphic {
  VORN_OBJECT(TSvgGraphic, TGraphic)

 public:
  TSvgGraphic();
  void LoadFromStream(QIODevice* Stream) override;
  void SaveToStream(QIODevice* Stream) const override;
  int32_t Width() const override;
  int32_t Height() const override;
  void Draw(QPainter* Painter, const QRectF& Target) const override;
  bool SupportsPartialTransparency() const override { return true; }
  bool IsVector() const override { return true; }
  const QByteArray& Source() const { return FSource; }

 protected:
  ~TSvgGraphic() override;
  void CopyFrom(const TGraphic& Source) override;

 private:
  void Parse(const QByteArray& Data);
  QByteArray FSource;
  std::unique_ptr<QSvgRenderer> FRenderer;
};

}  // namespace vorn
