#pragma once
// TPicture: holds one graphic of any registered class and tells its owner when it changes.

#include "vorn/common/Graphic.h"

#include <functional>

namespace vorn {

class TPicture : public TPersistent {
  VORN_OBJECT(TPicture, TPersistent)

 public:
  TPicture() = default;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Takes a copy of Graphic (null clears the picture).
  void SetGraphic(const TGraphic* Graphic);
  // Takes ownership of Graphic (null clears the picture).
  void TakeGraphic(TGraphic* Graphic);
  int32_t Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int32_t Height() const { return FGraphic ? FGraphic->Height() : 0; }

  void Assign(const TPersistent* Source) override;

  // The stored form: the graphic's class name (one length byte and its characters) followed by
  // the graphic's own data; empty for an empty picture.
  void WriteData(QIODevice* Stream) const;
  // Reads the stored form back; raises when the class is unknown or the data is bad, and then
  // keeps the current graphic.
  void ReadData(QIODevice* Stream);

  std::function<void(TPicture* Sender)> OnChange;

 protected:
  ~TPicture() override = default;
  void Changed() { if (OnChange) OnChange(this); }

 private:
  TOwned<TGraphic> FGraphic;
};

// Turn a picture into the bytes of one binary value (tag 10, 32-bit length, the picture's
// stored form) and back. The buffer size is kept for compatibility of the interface.
class TPictureWriter {
 public:
  TPictureWriter(QIODevice* Stream, int32_t BufSize = 65536) : FStream(Stream), FBufSize(BufSize) {}
  void WritePicture(const TPicture* Picture);
  int32_t BufSize() const { return FBufSize; }

 private:
  QIODevice* FStream;
  int32_t FBufSize;
};

// Reads the values a picture wrote with TPictureWriter back from a stream.
class TPictureReader {
 public:
  TPictureReader(QIODevice* Stream, int32_t BufSize = 65536) : FStream(Stream), FBufSize(BufSize) {}
  // Reads one binary value into Picture; false when the next tag is not a binary value (the
  // stream is then left where it was). Raises on truncated data or an unreadable graphic.
  bool ReadPicture(TPicture* Picture);
  int32_t BufSize() const { return FBufSize; }

 private:
  QIODevice* FStream;
  int32_t FBufSize;
};

// The serialised form of a picture as bytes, and back (empty bytes for an empty picture).
QByteArray PictureToBytes(const TPicture* Picture);
void PictureFromBytes(TPicture* Picture, const QByteArray& Bytes);

}  // namespace vorn
