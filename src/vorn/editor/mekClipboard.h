#pragma once
// TmekClipboard: the engine's clipboard object, one per process (MekClipboard()), over the
// application's QClipboard.
//
// Formats are numbered as the Windows clipboard numbers them: the standard ones by their CF_
// constants, the private ones registered by name from 0xC000 on ("mekObjectsDBFormat",
// "mekObjectsDBProfileFormat", ...). A private format travels as the MIME type
// application/x-qt-windows-mime;value="NAME", which Qt on Windows maps to the registered format of
// that name, so other applications there see it as such; elsewhere it is a private type. The text
// formats are the clipboard's plain text, the bitmap formats its image.
//
// Writing is bracketed: Open, writes, Close. The first write after opening empties the clipboard;
// what is written reaches the system clipboard when the outermost Close (or EndUpdate) closes it,
// all formats at once. Opening is tried five times, waiting 150, 300, 450 and 600 ms between the
// attempts, before "Clipboard cannot be opened, try again" is raised.

#include "vorn/common/Object.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QIODevice;
class QMimeData;

namespace vorn {

class TKxDeCustomControl;

// The standard formats (CF_BITMAP is declared with the bitmap buffer).
enum : uint16_t {
  CF_TEXT = 1,
  CF_METAFILEPICT = 3,
  CF_SYLK = 4,
  CF_DIF = 5,
  CF_TIFF = 6,
  CF_OEMTEXT = 7,
  CF_DIB = 8,
  CF_PALETTE = 9,
  CF_PENDATA = 10,
  CF_RIFF = 11,
  CF_WAVE = 12,
  CF_UNICODETEXT = 13,
  CF_ENHMETAFILE = 14,
  CF_HDROP = 15,
  CF_LOCALE = 16,
  CF_DIBV5 = 17,
  CF_OWNERDISPLAY = 0x80,
  CF_DSPTEXT = 0x81,
  CF_DSPBITMAP = 0x82,
  CF_DSPMETAFILEPICT = 0x83,
  CF_DSPENHMETAFILE = 0x8E,
  CF_PRIVATEFIRST = 0x200,
  CF_PRIVATELAST = 0x2FF,
  CF_GDIOBJFIRST = 0x300,
  CF_GDIOBJLAST = 0x3FF
};

class TmekClipboard : public TPersistent {
  VORN_OBJECT(TmekClipboard, TPersistent)

 public:
  TmekClipboard();

  // ---- Formats ----------------------------------------------------------------------------------
  // The number of a format registered by name (the same name gives the same number).
  static uint16_t RegisterClipboardFormat(const QString& Name);
  // The registered name of a format; empty for the standard and unknown ones.
  static QString ClipboardFormatName(uint16_t Format);
  // The MIME type a format travels as; empty for an unknown number.
  static QString MimeType(uint16_t Format);
  uint16_t ObjectsFormat() const { return FObjectsFormat; }
  uint16_t ProfileFormat() const { return FProfileFormat; }
  // The format CopyFromStream writes; the objects format at first.
  uint16_t CurrentFormat() const { return FCurrentFormat; }
  void SetCurrentFormat(uint16_t Value) { FCurrentFormat = Value; }

  // ---- Opening ----------------------------------------------------------------------------------
  void Open();
  // Closes one level (any number with Force); the last one hands what was written to the system.
  void Close(bool Force = false);
  // Empties the clipboard.
  void Clear();
  // Keeps the clipboard open across several writes until EndUpdate.
  void BeginUpdate() { FUpdating = true; }
  void EndUpdate();
  bool Opened() const { return FOpened; }
  int32_t OpenCount() const { return FOpenCount; }

  // ---- Writing and reading ----------------------------------------------------------------------
  // Puts Size bytes under Format (raises EOutOfResources for a format without MIME type).
  void SetBuffer(uint16_t Format, const char* Buffer, int64_t Size);
  void SetAsHandle(uint16_t Format, const QByteArray& Data) { SetBuffer(Format, Data.constData(), Data.size()); }
  // The bytes under Format; empty when it is not there.
  QByteArray GetAsHandle(uint16_t Format) const;
  void SetAsText(const QString& Text);
  QString GetAsText() const;
  // The whole stream under the current private format; the stream is rewound before and after.
  void CopyFromStream(QIODevice* Stream);
  // The bytes under Format (when there) written to the stream, which is rewound afterwards.
  void CopyToStream(uint16_t Format, QIODevice* Stream) const;
  // A picture in and out; reading without any picture raises EmekClipboardException.
  void SetImage(const QImage& Image);
  QImage GetImage() const;
  // A picture or a graphic onto the clipboard: its image, and an SVG graphic's own text beside it.
  // An empty picture empties the clipboard; other sources raise as TPersistent does.
  void Assign(const TPersistent* Source) override;
  // Puts "the standard component format": a control's published settings as text.
  void SetComponent(const TKxDeCustomControl* Control);
  // Sets Control's published settings from the clipboard's component text; False when there is
  // none. A text that does not fit Control raises with its line and changes nothing.
  bool GetComponent(TKxDeCustomControl* Control) const;
  // Offers MimeType beside what is written, its bytes made by Make only when a reader first asks
  // for them (and kept for later readers): for forms that cost more to make than most pastes need.
  // Make runs on the user-interface thread; empty bytes, or Make raising, offer nothing.
  void SetDeferred(const QString& MimeType, std::function<QByteArray()> Make);
  // What the clipboard holds under a MIME type of other programs ("image/svg+xml", ...); empty
  // when it is not there.
  bool HasMimeType(const QString& MimeType) const;
  QByteArray GetMimeData(const QString& MimeType) const;

  // ---- What the clipboard holds ------------------------------------------------------------------
  bool HasFormat(uint16_t Format) const;
  // The objects format, text or a picture.
  bool HasMekFormat() const;
  bool HasMekProfileFormat() const;
  int32_t GetFormatCount() const;
  // The formats in the order the clipboard lists them; 0 outside the range.
  uint16_t GetFormats(int32_t Index) const;
  // "Clipboard data formats: " and one line per format.
  QString GetClipboardFormats() const;
  static QString GetClipboardFormatString(uint16_t Format);
  // The size and depth of the clipboard's picture, as "Clipboard data of CF_DIB format: " (or
  // CF_DIBV5) and its lines; empty without a picture.
  QString GetClipboardInfoDIB() const;
  QString GetClipboardInfoDIBV5() const;

  // How the attempts to open wait, in milliseconds (the thread sleeps unless replaced), and
  // whether the system clipboard can be opened now (an application with a clipboard unless
  // replaced).
  std::function<void(int32_t Milliseconds)> Wait;
  std::function<bool()> CanOpen;

 protected:
  ~TmekClipboard() override;
  virtual void DoOpenClipboard();
  // The clipboard's picture into a picture (an SVG as an SVG graphic, anything else as a bitmap)
  // or a raster graphic; EmekClipboardException ("Invalid clipboard format") without one.
  void AssignTo(TPersistent* Dest) const override;

 private:
  // What is being written, started afresh by the first write after opening.
  QMimeData* Writing();
  const QMimeData* Reading() const;

  uint16_t FObjectsFormat;
  uint16_t FProfileFormat;
  uint16_t FCurrentFormat;
  bool FOpened = false;
  bool FEmptied = false;
  bool FUpdating = false;
  int32_t FOpenCount = 0;
  // Made by Writing(): what is written, with the deferred forms.
  std::unique_ptr<QMimeData> FPending;
};

// The process's clipboard object, made on first use.
TmekClipboard* MekClipboard();

}  // namespace vorn
