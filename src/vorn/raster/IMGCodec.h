#pragma once
// The GEM IMG 1-bit raster format: a 16-byte big-endian header followed by run-length coded scan
// lines with vertical line replication, plus its hexadecimal text form (".asc" files).
//
// These are the codec functions on QImage, built on the plain-byte codec of IMGRows.h; TIMGGraphic
// (IMGGraphic.h) is the graphic class built on them, and the ".img" Qt image plugin uses them too.
//
// In memory an IMG image is a QImage of Format_Mono whose colour table has black at index 0 and
// white at index 1, so every byte is the file byte inverted (in the file a 1 bit is black).

#include "vorn/raster/IMGRows.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

class QIODevice;

namespace vorn {

// Header to and from its 16 file bytes (big-endian words).
QByteArray IMGHeaderBytes(const TIMGHeader& Header);
TIMGHeader IMGHeaderFromBytes(const char* Bytes);

// The largest image (width x height) the decoder accepts; larger headers raise EImgException
// instead of allocating. Defaults to kIMGDefaultMaxPixels (2^28 pixels).
int64_t IMGMaxPixels();
void SetIMGMaxPixels(int64_t Value);

// Translatable texts of the format.
QString sIMGImage();        // "IMG Image"
QString sIMGInvalidFile();  // "Input file is not valid"
QString sIMGNeeds1Bit();    // "Input bitmap needs to be 1 bit as pixelformat"

// The result of decoding byte-form data held in memory.
struct TIMGDecodeResult {
  bool Decoded = false;  // false: the header names more than one plane, nothing was decoded
  QImage Image;          // Format_Mono, colour table {black, white}
  int64_t Consumed = 0;  // bytes read from the start of the data
};

// Decodes byte-form data starting at Data[0]. Raises EImgException for a header with zero width or
// height, a header cut short, or an image above the pixel limit. Data that ends early or records
// that overrun a line or the image never write outside the image; lines the data never reaches stay
// white.
TIMGDecodeResult IMGDecodeBytes(const char* Data, int64_t Size);

// Decodes from the device's current position. Returns false and leaves Image as it was when the
// file has more than one plane. A random-access device is left just after the data that was used.
bool IMGDecode(QIODevice* Stream, QImage& Image);

// Encodes a 1-bit image (Format_Mono or Format_MonoLSB) in the byte form. The header is written
// first; any other pixel format then raises EImgException. When colour-table entry 0 is black the
// bytes are inverted on the way out; otherwise they are written as stored (an image without colour
// table reads index 0 as white, as Qt does).
QByteArray IMGEncodeBytes(const QImage& Bitmap);
void IMGEncode(const QImage& Bitmap, QIODevice* Stream);

// The text form of byte-form data: uppercase hex pairs of the bytes after the first 12, a CR LF
// after every 40th byte and one at the end.
QByteArray IMGBytesToText(const QByteArray& Bytes);
// Text form back to byte form: non-hex characters are skipped, four digits give the width, four
// the height, a standard header is written and every further digit pair becomes one byte.
QByteArray IMGTextToBytes(const QByteArray& Text);
// The same from one device to another (Source from its current position to its end).
void TransformASCIItoBinStream(QIODevice* Source, QIODevice* Dest);

// Any image as a 1-bit image with colour-table entry 0 black and entry 1 white, ready for the
// encoder. Colour images are dithered as QImage does; a 1-bit image keeps its pixel colours. The
// unused bits after each row's last pixel are set (white), so equal rows compare equal.
QImage IMGMonoBitmap(const QImage& Image);

}  // namespace vorn
