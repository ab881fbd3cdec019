// Qt image-format plugin for GEM IMG files (".img"), on the engine's IMG codec.
#include <vorn/common/Exceptions.h>
#include <vorn/raster/IMGCodec.h>

#include <QImageIOHandler>
#include <QImageIOPlugin>
#include <QIODevice>
#include <QSize>
#include <QVariant>

namespace {

// IMG has no magic number, and ".img" also names disk images: data is taken for IMG only when
// every header field is plausible.
bool PeekHeader(QIODevice* Device, vorn::TIMGHeader& Header) {
  if (!Device || !Device->isReadable()) return false;
  const QByteArray head = Device->peek(vorn::kIMGHeaderSize);
  if (head.size() < vorn::kIMGHeaderSize) return false;
  Header = vorn::IMGHeaderFromBytes(head.constData());
  return true;
}

bool LooksLikeIMG(QIODevice* Device) {
  vorn::TIMGHeader h;
  if (!PeekHeader(Device, h)) return false;
  return h.version <= 3 && h.length >= 8 && h.length <= 64 && h.planes >= 1 && h.planes <= 8 &&
         h.pattlen >= 1 && h.pattlen <= 8 && h.pixels > 0 && h.lines > 0;
}

class VornImgHandler : public QImageIOHandler {
 public:
  bool canRead() const override {
    if (!LooksLikeIMG(device())) return false;
    setFormat("img");
    return true;
  }

  bool read(QImage* Image) override {
    if (!LooksLikeIMG(device())) return false;
    try {
      QImage image;
      // Images of more than one plane are not decoded: report failure rather than a blank image.
      if (!vorn::IMGDecode(device(), image)) return false;
      *Image = image;
      return true;
    } catch (const vorn::Exception& e) {
      qWarning("img: %s", e.what());
      return false;
    }
  }

  bool write(const QImage& Image) override {
    try {
      const QImage mono = vorn::IMGMonoBitmap(Image);
      if (mono.isNull()) return false;
      vorn::IMGEncode(mono, device());
      return true;
    } catch (const vorn::Exception& e) {
      qWarning("img: %s", e.what());
      return false;
    }
  }

  bool supportsOption(ImageOption Option) const override { return Option == Size; }

  QVariant option(ImageOption Option) const override {
    vorn::TIMGHeader h;
    if (Option == Size && PeekHeader(device(), h)) return QSize(h.pixels, h.lines);
    return {};
  }
};

}  // namespace

class VornImgPlugin : public QImageIOPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "vornimg.json")

 public:
  Capabilities capabilities(QIODevice* Device, const QByteArray& Format) const override {
    if (Format == "img") return CanRead | CanWrite;
    if (!Format.isEmpty() || !Device || !Device->isOpen()) return {};
    return LooksLikeIMG(Device) ? Capabilities(CanRead) : Capabilities();
  }

  QImageIOHandler* create(QIODevice* Device, const QByteArray& Format) const override {
    auto* handler = new VornImgHandler;
    handler->setDevice(Device);
    handler->setFormat(Format.isEmpty() ? QByteArray("img") : Format);
    return handler;
  }
};

#include "VornImgPlugin.moc"
