#pragma once
// The GEM IMG 1-bit raster format on plain bytes, without Qt: the 16-byte big-endian header, the
// run-length coded scan lines with vertical line replication, and the hexadecimal text form.
// IMGCodec.h builds the QImage codec on it; programs that must start quickly (the `vorn img`
// command) use it directly.
//
// Rows are packed 1-bit scan lines, the leftmost pixel in the most significant bit. A row buffer
// holds its bits either as the file does (a 1 bit is black, as in IMG and PBM files) or inverted
// (a 1 bit is white, as a Format_Mono QImage with black at colour index 0 holds them).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

// The file header; every field is an unsigned word stored most significant byte first.
struct TIMGHeader {
  uint16_t version = 1;
  uint16_t length = 8;    // header length in words: the pixel data starts at 2 * length
  uint16_t planes = 1;    // only single-plane images are decoded
  uint16_t pattlen = 1;   // pattern length in bytes (pattern runs)
  uint16_t PixWidth = 0;  // pixel size in micrometres, ignored
  uint16_t PixHeight = 0;
  uint16_t pixels = 0;  // width of a scan line in pixels
  uint16_t lines = 0;   // number of scan lines
};
using PIMGHeader = TIMGHeader*;

inline constexpr int kIMGHeaderSize = 16;
// The largest image (width x height) decoders accept unless told otherwise.
inline constexpr int64_t kIMGDefaultMaxPixels = int64_t(1) << 28;

// Header to and from its 16 file bytes.
void IMGPutHeader(const TIMGHeader& Header, uint8_t* Bytes);
TIMGHeader IMGGetHeader(const uint8_t* Bytes);

// Rows of a 1-bit picture in memory: Height rows of (Width + 7) / 8 bytes, Stride bytes apart.
struct TIMGRowBuffer {
  uint8_t* Bits = nullptr;
  size_t Stride = 0;
  int Width = 0;
  int Height = 0;
  bool FileSense = false;  // true: 1 bits are black; false: inverted
};

// How far decoding the scan lines of an IMG image got.
struct TIMGRowsDecoded {
  int64_t End = 0;        // position after the last byte used
  bool Complete = false;  // the data reached every line
};

// Decodes the scan-line records of Data from Pos on into Rows, which has the header's size. Every
// write is clipped to the rows; lines the data never reaches are white. Records that overrun a
// line close it with white and go on in the next one.
TIMGRowsDecoded IMGDecodeRows(const TIMGHeader& Header, const uint8_t* Data, int64_t Size, int64_t Pos,
                              const TIMGRowBuffer& Rows);

// Writes the scan-line records of rows (not the header), one row at a time, so that the caller
// can grow its buffer between rows. Equal rows become replication records, so the bits after each
// row's last pixel should be the same in every row. Inverted rows have their bytes inverted on the
// way out, the padding of a literal run written as 0; rows in file sense go out as they are.
class TIMGRowEncoder {
 public:
  explicit TIMGRowEncoder(const TIMGRowBuffer& Rows) : FRows(Rows) {}

  bool Done() const { return FNext >= FRows.Height; }
  // The most bytes one call of Next writes, and all calls together.
  size_t MaxStep() const { return 3 * static_cast<size_t>((FRows.Width + 7) / 8) + 4; }
  size_t MaxSize() const { return MaxStep() * static_cast<size_t>(FRows.Height > 0 ? FRows.Height : 0); }
  // Writes the records of the next row, after a replication record when equal rows follow it, to
  // Out; returns the number of bytes written.
  size_t Next(uint8_t* Out);

 private:
  TIMGRowBuffer FRows;
  int FNext = 0;
};

// The text form of byte-form data: uppercase hex pairs of the bytes after the first 12, a CR LF
// after every 40th byte and one at the end.
std::string IMGTextFromBytes(std::string_view Bytes);
// Text form back to byte form: non-hex characters are skipped, four digits give the width, four
// the height, a standard header is written and every further digit pair becomes one byte.
std::string IMGBytesFromText(std::string_view Text);

}  // namespace vorn
