// vorn img encode IN OUT | vorn img decode IN OUT: conversion between GEM IMG files (".img", or
// their hexadecimal text form ".asc") and the image formats Qt reads and writes.
#include "Commands.h"

#include <vorn/common/Exceptions.h>
#include <vorn/raster/IMGCodec.h>
#include <vorn/raster/IMGGraphic.h>

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace vorncli {
namespace {

constexpr const char* kName = "img";

QString Suffix(const QString& FileName) { return QFileInfo(FileName).suffix().toLower(); }

bool IsIMGName(const QString& FileName) {
  const QString s = Suffix(FileName);
  return s == QLatin1String("img") || s == QLatin1String("asc");
}

// Any readable image, made 1-bit with colour-table entry 0 black, to ".img" or ".asc".
int Encode(const QString& In, const QString& Out) {
  if (!IsIMGName(Out)) return UsageError(kName, QStringLiteral("OUT must be an .img or .asc file"));
  QImageReader reader(In);
  const QImage image = reader.read();
  if (image.isNull()) return InputError(QStringLiteral("%1: %2").arg(In, reader.errorString()));
  try {
    vorn::TIMGGraphic graphic;
    graphic.SetBitmap(vorn::IMGMonoBitmap(image));
    graphic.SetTextForm(Suffix(Out) == QLatin1String("asc"));
    graphic.SaveToFile(Out);
  } catch (const vorn::Exception& e) {
    return InputError(QStringLiteral("%1: %2").arg(Out, e.Message()));
  }
  return 0;
}

// ".img" or ".asc" to any format Qt writes, chosen by OUT's extension.
int Decode(const QString& In, const QString& Out) {
  if (!IsIMGName(In)) return UsageError(kName, QStringLiteral("IN must be an .img or .asc file"));
  const QByteArray format = Suffix(Out).toLatin1();
  if (format.isEmpty() || !QImageWriter::supportedImageFormats().contains(format))
    return UsageError(kName, QStringLiteral("cannot write images of type '%1'").arg(QString::fromLatin1(format)));
  vorn::TIMGGraphic graphic;
  try {
    graphic.LoadFromFile(In);
  } catch (const vorn::Exception& e) {
    return InputError(QStringLiteral("%1: %2").arg(In, e.Message()));
  }
  if (graphic.Empty())
    return InputError(QStringLiteral("%1: only single-plane IMG images can be decoded").arg(In));
  QImageWriter writer(Out, format);
  if (!writer.write(graphic.Bitmap())) return InputError(QStringLiteral("%1: %2").arg(Out, writer.errorString()));
  return 0;
}

}  // namespace

int RunImg(const QStringList& Args) {
  if (Args.size() != 3) return UsageError(kName, QStringLiteral("expected a mode, IN and OUT"));
  if (Args[0] == QLatin1String("encode")) return Encode(Args[1], Args[2]);
  if (Args[0] == QLatin1String("decode")) return Decode(Args[1], Args[2]);
  return UsageError(kName, QStringLiteral("unknown mode '%1'").arg(Args[0]));
}

}  // namespace vorncli
