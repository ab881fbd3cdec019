#include "vorn/common/Picture.h"

#include "vorn/common/Exceptions.h"
#include "vorn/common/PictureRegisteredFormats.h"

#include <QBuffer>
#include <QtEndian>

namespace vorn {
namespace {

constexpr char kBinaryValueTag = 10;

}  // namespace

void TPicture::SetGraphic(const TGraphic* Graphic) { TakeGraphic(Graphic ? Graphic->Clone() : nullptr); }

void TPicture::TakeGraphic(TGraphic* Graphic) {
  if (Graphic == FGraphic.get()) return;
  FGraphic.reset(Graphic);
  Changed();
}

void TPicture::Assign(const TPersistent* Source) {
  if (auto* pic = dynamic_cast<const TPicture*>(Source)) {
    SetGraphic(pic->Graphic());
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
    SetGraphic(g);
    return;
  }
  if (!Source) {
    TakeGraphic(nullptr);
    return;
  }
  TPersistent::Assign(Source);
}

void TPicture::WriteData(QIODevice* Stream) const {
  if (!FGraphic) return;
  const QByteArray name = FGraphic->ClassName().toLatin1().left(255);
  Stream->putChar(static_cast<char>(name.size()));
  Stream->write(name);
  FGraphic->WriteData(Stream);
}

void TPicture::ReadData(QIODevice* Stream) {
  char len = 0;
  if (!Stream->getChar(&len)) {
    TakeGraphic(nullptr);
    return;
  }
  const QByteArray name = Stream->read(static_cast<uint8_t>(len));
  if (name.size() != static_cast<uint8_t>(len)) throw Exception(QStringLiteral("Picture data is truncated"));
  const TGraphicClass cls = GraphicClassByName(QString::fromLatin1(name));
  if (!cls)
    throw Exception(QStringLiteral("Unknown graphic class \"%1\" in picture data").arg(QString::fromLatin1(name)));
  TOwned<TGraphic> g(cls->Construct<TGraphic>());
  if (!g) throw Exception(QStringLiteral("Graphic class \"%1\" cannot be created").arg(QString::fromLatin1(name)));
  g->ReadData(Stream);
  TakeGraphic(g.release());
}

void TPictureWriter::WritePicture(const TPicture* Picture) {
  if (!Picture || !Picture->Graphic()) return;
  QBuffer data;
  data.open(QIODevice::WriteOnly);
  Picture->WriteData(&data);
  const QByteArray bytes = data.data();
  uchar len[4];
  qToLittleEndian<int32_t>(static_cast<int32_t>(bytes.size()), len);
  FStream->putChar(kBinaryValueTag);
  FStream->write(reinterpret_cast<const char*>(len), 4);
  FStream->write(bytes);
}

bool TPictureReader::ReadPicture(TPicture* Picture) {
  char tag = 0;
  if (!FStream->peek(&tag, 1) || tag != kBinaryValueTag) return false;
  FStream->getChar(&tag);
  uchar len[4];
  if (FStream->read(reinterpret_cast<char*>(len), 4) != 4) throw Exception(QStringLiteral("Picture data is truncated"));
  const int32_t size = qFromLittleEndian<int32_t>(len);
  if (size < 0 || size > FStream->bytesAvailable()) throw Exception(QStringLiteral("Picture data is truncated"));
  QByteArray bytes = FStream->read(size);
  QBuffer value(&bytes);
  value.open(QIODevice::ReadOnly);
  Picture->ReadData(&value);
  return true;
}

QByteArray PictureToBytes(const TPicture* Picture) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  TPictureWriter(&out).WritePicture(Picture);
  return out.data();
}

void PictureFromBytes(TPicture* Picture, const QByteArray& Bytes) {
  QByteArray copy = Bytes;
  QBuffer in(&copy);
  in.open(QIODevice::ReadOnly);
  if (!TPictureReader(&in).ReadPicture(Picture)) throw Exception(QStringLiteral("Picture data is not a binary value"));
}

}  // namespace vorn
