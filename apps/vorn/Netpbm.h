#pragma once
// The portable bitmap and graymap forms (PBM, PGM) read and written directly, as netpbm's tools
// write and expect them, for 1-bit pictures on their way to and from IMG.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vorncli {

// A 1-bit picture laid out as a raw PBM file holds it: rows of (Width + 7) / 8 bytes, the leftmost
// pixel in the most significant bit, 1 bits black, the bits after a row's last pixel 0.
struct TBitmapRows {
  int Width = 0;
  int Height = 0;

  size_t Stride() const { return (static_cast<size_t>(Width) + 7) / 8; }
  size_t Size() const { return Stride() * static_cast<size_t>(Height); }
  uint8_t* Data() { return FBits.get(); }
  const uint8_t* Data() const { return FBits.get(); }
  uint8_t* Row(int Y) { return Data() + static_cast<size_t>(Y) * Stride(); }
  const uint8_t* Row(int Y) const { return Data() + static_cast<size_t>(Y) * Stride(); }
  // Sizes the picture; its bits are undefined until they are written (the memory a decoder fills
  // anyway is not cleared first).
  void Resize(int W, int H);
  // Clears the bits after each row's last pixel.
  void ClearPadding();

 private:
  std::unique_ptr<uint8_t[]> FBits;
  size_t FCapacity = 0;
};

enum class TNetpbmRead {
  Done,
  Error,       // a PBM or PGM file that is damaged; Error says how
  NotBilevel,  // a PGM with grey levels: it needs dithering
  Other,       // not a PBM or PGM file
};

// Reads the first picture of a PBM (P1, P4) or a PGM (P2, P5) file whose samples are all black or
// white. Nothing is allocated beyond what the data can fill.
TNetpbmRead ReadNetpbm(std::string_view Data, TBitmapRows& Rows, std::string& Error);

// The file header netpbm writes: "P4\nW H\n" and "P5\nW H\n255\n".
std::string PbmHeader(int Width, int Height);
std::string PgmHeader(int Width, int Height);
// The samples of a PGM body (0 black, 255 white), one byte per pixel, appended to Out.
void AppendPgmSamples(const TBitmapRows& Rows, std::string& Out);

}  // namespace vorncli
