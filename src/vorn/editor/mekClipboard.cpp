#include "vorn/editor/mekClipboard.h"

#include "vorn/common/Exceptions.h"
#include "vorn/common/Finally_p.h"
#include "vorn/common/Graphic.h"
#include "vorn/common/Picture.h"
#include "vorn/common/ResStrs.h"
#include "vorn/controls/KxDeCustomControl.h"
#include "vorn/editor/EditorLog_p.h"
#include "vorn/raster/KxDeBitmap.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QHash>
#include <QIODevice>
#include <QMimeData>
#include <QThread>

#include <array>
#include <exception>
#include <utility>
#include <vector>

namespace vorn {

namespace {

constexpr uint16_t kFirstRegistered = 0xC000;

// The names registered in this process, numbered from 0xC000.
struct TRegistry {
  QHash<QString, uint16_t> Numbers;
  QStringList Names;
};
TRegistry& Registry() {
  static TRegistry r;
  return r;
}

const QString kWindowsMime = QStringLiteral("application/x-qt-windows-mime;value=\"%1\"");

bool IsText(uint16_t F) { return F == CF_TEXT || F == CF_OEMTEXT || F == CF_UNICODETEXT; }
bool IsImage(uint16_t F) { return F == CF_BITMAP || F == CF_DIB || F == CF_DIBV5; }

// What is written to the clipboard: plain data, and forms made only when a reader asks for them.
// Readers in other processes ask through the window system (the clipboard's owner answers from its
// event loop), readers in this process through data().
class TDeferredData : public QMimeData {
 public:
  void Defer(const QString& Mime, std::function<QByteArray()> Make) {
    FDeferred.push_back(TForm{Mime, std::move(Make), {}});
  }
  QStringList formats() const override {
    QStringList out = QMimeData::formats();
    for (const TForm& f : FDeferred)
      if (!out.contains(f.Mime)) out << f.Mime;
    return out;
  }

 protected:
  QVariant retrieveData(const QString& Mime, QMetaType Type) const override {
    for (TForm& f : FDeferred) {
      if (f.Mime != Mime) continue;
      if (f.Make) {
        std::function<QByteArray()> make = std::move(f.Make);
        f.Make = nullptr;
        try {
          f.Bytes = make();
        } catch (const std::exception& e) {
          qCDebug(lcEditor) << "Clipboard:" << Mime << "could not be made:" << e.what();
        }
      }
      return f.Bytes;
    }
    return QMimeData::retrieveData(Mime, Type);
  }

 private:
  struct TForm {
    QString Mime;
    std::function<QByteArray()> Make;
    QByteArray Bytes;
  };
  mutable std::vector<TForm> FDeferred;
};

QClipboard* SystemClipboard() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

uint16_t TmekClipboard::RegisterClipboardFormat(const QString& Name) {
  TRegistry& r = Registry();
  auto it = r.Numbers.constFind(Name);
  if (it != r.Numbers.constEnd()) return *it;
  if (r.Names.size() >= 0x3FFF) return 0;
  const auto number = static_cast<uint16_t>(kFirstRegistered + r.Names.size());
  r.Names.append(Name);
  r.Numbers.insert(Name, number);
  return number;
}

QString TmekClipboard::ClipboardFormatName(uint16_t Format) {
  const TRegistry& r = Registry();
  const int i = static_cast<int>(Format) - kFirstRegistered;
  return i >= 0 && i < r.Names.size() ? r.Names[i] : QString();
}

QString TmekClipboard::MimeType(uint16_t Format) {
  if (IsText(Format)) return QStringLiteral("text/plain");
  if (IsImage(Format)) return QStringLiteral("application/x-qt-image");
  const QString name = ClipboardFormatName(Format);
  return name.isEmpty() ? QString() : kWindowsMime.arg(name);
}

TmekClipboard::TmekClipboard()
    : FObjectsFormat(RegisterClipboardFormat(QStringLiteral("mekObjectsDBFormat"))),
      FProfileFormat(RegisterClipboardFormat(QStringLiteral("mekObjectsDBProfileFormat"))),
      FCurrentFormat(FObjectsFormat) {}

TmekClipboard::~TmekClipboard() = default;

// ---- Opening --------------------------------------------------------------------------------------

void TmekClipboard::DoOpenClipboard() {
  if (FOpened) return;
  for (int32_t attempt = 1; attempt <= 5; ++attempt) {
    if (CanOpen ? CanOpen() : SystemClipboard() != nullptr) {
      FOpened = true;
      FEmptied = false;
      return;
    }
    if (attempt == 5) break;
    const int32_t ms = attempt * 150;
    if (Wait) Wait(ms);
    else QThread::msleep(static_cast<unsigned long>(ms));
  }
  throw Exception(rsClipboardCannotBeOpened());
}

void TmekClipboard::Open() {
  if (FOpenCount == 0) DoOpenClipboard();
  ++FOpenCount;
}

void TmekClipboard::Close(bool Force) {
  if (FOpenCount == 0 && !Force) return;
  if (FOpenCount > 0) --FOpenCount;
  if (Force) FOpenCount = 0;
  if (FOpenCount > 0 || FUpdating) return;
  FOpened = false;
  // Everything written since opening goes to the system at once.
  if (FPending)
    if (QClipboard* c = SystemClipboard()) c->setMimeData(FPending.release());
  FPending.reset();
}

void TmekClipboard::EndUpdate() {
  FUpdating = false;
  if (FOpenCount == 0) Close(true);
}

void TmekClipboard::Clear() {
  Open();
  FPending = std::make_unique<TDeferredData>();
  FEmptied = true;
  Close(false);
}

QMimeData* TmekClipboard::Writing() {
  if (!FEmptied || !FPending) {
    FPending = std::make_unique<TDeferredData>();
    FEmptied = true;
  }
  return FPending.get();
}

const QMimeData* TmekClipboard::Reading() const {
  const QClipboard* c = SystemClipboard();
  return c ? c->mimeData() : nullptr;
}

// ---- Writing and reading ----------------------------------------------------------------------------

void TmekClipboard::SetBuffer(uint16_t Format, const char* Buffer, int64_t Size) {
  const QString mime = MimeType(Format);
  if (mime.isEmpty() || Size < 0) throw Exception(QStringLiteral("Out of system resources"));
  Open();
  try {
    QByteArray bytes(Buffer, static_cast<qsizetype>(Size));
    if (IsText(Format)) Writing()->setText(QString::fromUtf8(bytes));
    else Writing()->setData(mime, bytes);
  } catch (...) {
    Close(false);
    throw;
  }
  Close(false);
}

QByteArray TmekClipboard::GetAsHandle(uint16_t Format) const {
  const QMimeData* m = Reading();
  if (!m) return {};
  if (IsText(Format)) return m->hasText() ? m->text().toUtf8() : QByteArray();
  const QString mime = MimeType(Format);
  return mime.isEmpty() ? QByteArray() : m->data(mime);
}

void TmekClipboard::SetAsText(const QString& Text) {
  Open();
  Writing()->setText(Text);
  Close(false);
}

QString TmekClipboard::GetAsText() const {
  const QMimeData* m = Reading();
  return m && m->hasText() ? m->text() : QString();
}

void TmekClipboard::CopyFromStream(QIODevice* Stream) {
  if (!Stream) return;
  Stream->seek(0);
  const QByteArray bytes = Stream->readAll();
  Stream->seek(0);
  SetAsHandle(FCurrentFormat, bytes);
}

void TmekClipboard::CopyToStream(uint16_t Format, QIODevice* Stream) const {
  if (!Stream || !HasFormat(Format)) return;
  Stream->write(GetAsHandle(Format));
  Stream->seek(0);
}

void TmekClipboard::SetImage(const QImage& Image) {
  Open();
  Writing()->setImageData(Image);
  Close(false);
}

QImage TmekClipboard::GetImage() const {
  const QMimeData* m = Reading();
  if (!m || !m->hasImage()) throw EmekClipboardException(rsInvalidClipFmt());
  return qvariant_cast<QImage>(m->imageData());
}

// ---- Pictures and components -----------------------------------------------------------------------

namespace {

const QString kSvgType = QStringLiteral("image/svg+xml");

uint16_t ComponentFormat() {
  static const uint16_t format = TmekClipboard::RegisterClipboardFormat(QStringLiteral("Vorn Component"));
  return format;
}

}  // namespace

void TmekClipboard::Assign(const TPersistent* Source) {
  const auto* picture = dynamic_cast<const TPicture*>(Source);
  const TGraphic* graphic = picture ? picture->Graphic() : dynamic_cast<const TGraphic*>(Source);
  if (!picture && !graphic) {
    TPersistent::Assign(Source);
    return;
  }
  if (!graphic || graphic->Empty()) {
    Clear();
    return;
  }
  Open();
  TFinally close([this] { Close(false); });
  if (const auto* svg = dynamic_cast<const TSvgGraphic*>(graphic)) Writing()->setData(kSvgType, svg->Source());
  Writing()->setImageData(graphic->ToImage());
}

void TmekClipboard::AssignTo(TPersistent* Dest) const {
  auto* picture = dynamic_cast<TPicture*>(Dest);
  auto* raster = dynamic_cast<TRasterGraphic*>(Dest);
  if (!picture && !raster) {
    TPersistent::AssignTo(Dest);
    return;
  }
  if (picture && HasMimeType(kSvgType)) {
    QByteArray bytes = GetMimeData(kSvgType);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    TOwned<TSvgGraphic> svg(Create<TSvgGraphic>());
    try {
      svg->LoadFromStream(&stream);
    } catch (const Exception&) {
      // Not a drawing after all: the picture's image is taken below.
    }
    if (!svg->Empty()) {
      picture->TakeGraphic(svg.release());
      return;
    }
  }
  const QImage image = GetImage();
  if (raster) {
    raster->SetImage(image);
    return;
  }
  TOwned<TBitmap> bitmap(Create<TBitmap>());
  bitmap->SetImage(image);
  picture->TakeGraphic(bitmap.release());
}

void TmekClipboard::SetComponent(const TKxDeCustomControl* Control) {
  if (Control) SetAsHandle(ComponentFormat(), Control->SaveToText().toUtf8());
}

bool TmekClipboard::GetComponent(TKxDeCustomControl* Control) const {
  if (!Control || !HasFormat(ComponentFormat())) return false;
  Control->LoadFromText(QString::fromUtf8(GetAsHandle(ComponentFormat())));
  return true;
}

namespace {

QString PictureReport(const QMimeData* Data, const char* Format) {
  if (!Data || !Data->hasImage()) return {};
  const QImage image = qvariant_cast<QImage>(Data->imageData());
  return QStringList{QStringLiteral("Clipboard data of %1 format: ").arg(QLatin1String(Format)),
                     QStringLiteral("Width: %1 px").arg(image.width()),
                     QStringLiteral("Height: %1 px").arg(image.height()),
                     QStringLiteral("Bit depth: %1 bpp").arg(image.depth()),
                     QStringLiteral("Compression format: Uncompressed format (BI_RGB)")}
      .join(QStringLiteral("\r\n"));
}

}  // namespace

QString TmekClipboard::GetClipboardInfoDIB() const { return PictureReport(Reading(), "CF_DIB"); }
QString TmekClipboard::GetClipboardInfoDIBV5() const { return PictureReport(Reading(), "CF_DIBV5"); }

void TmekClipboard::SetDeferred(const QString& MimeType, std::function<QByteArray()> Make) {
  if (MimeType.isEmpty() || !Make) return;
  Open();
  static_cast<TDeferredData*>(Writing())->Defer(MimeType, std::move(Make));
  Close(false);
}

bool TmekClipboard::HasMimeType(const QString& MimeType) const {
  const QMimeData* m = Reading();
  return m && m->hasFormat(MimeType);
}

QByteArray TmekClipboard::GetMimeData(const QString& MimeType) const {
  const QMimeData* m = Reading();
  return m ? m->data(MimeType) : QByteArray();
}

// ---- What the clipboard holds ----------------------------------------------------------------------

bool TmekClipboard::HasFormat(uint16_t Format) const {
  const QMimeData* m = Reading();
  if (!m) return false;
  if (IsText(Format)) return m->hasText();
  if (IsImage(Format)) return m->hasImage();
  const QString mime = MimeType(Format);
  return !mime.isEmpty() && m->hasFormat(mime);
}

bool TmekClipboard::HasMekFormat() const {
  return HasFormat(FObjectsFormat) || HasFormat(CF_TEXT) || HasFormat(CF_DIB);
}

bool TmekClipboard::HasMekProfileFormat() const { return HasFormat(FProfileFormat); }

namespace {

// The formats of what the clipboard holds, in its order: text as CF_UNICODETEXT, a picture as
// CF_DIB, private types by their registered names, anything else registered by its MIME type.
QList<uint16_t> FormatsOf(const QMimeData* M) {
  QList<uint16_t> out;
  if (!M) return out;
  auto add = [&out](uint16_t F) {
    if (F && !out.contains(F)) out.append(F);
  };
  static const QString prefix = QStringLiteral("application/x-qt-windows-mime;value=\"");
  for (const QString& mime : M->formats()) {
    if (mime.startsWith(QLatin1String("text/plain"))) add(CF_UNICODETEXT);
    else if (mime.startsWith(QLatin1String("image/")) || mime == QLatin1String("application/x-qt-image")) add(CF_DIB);
    else if (mime.startsWith(prefix) && mime.endsWith(QLatin1Char('"')))
      add(TmekClipboard::RegisterClipboardFormat(mime.mid(prefix.size(), mime.size() - prefix.size() - 1)));
    else add(TmekClipboard::RegisterClipboardFormat(mime));
  }
  return out;
}

}  // namespace

int32_t TmekClipboard::GetFormatCount() const { return static_cast<int32_t>(FormatsOf(Reading()).size()); }

uint16_t TmekClipboard::GetFormats(int32_t Index) const {
  const QList<uint16_t> formats = FormatsOf(Reading());
  return Index >= 0 && Index < formats.size() ? formats[Index] : 0;
}

QString TmekClipboard::GetClipboardFormats() const {
  QStringList lines{QStringLiteral("Clipboard data formats: ")};
  for (uint16_t f : FormatsOf(Reading())) lines << GetClipboardFormatString(f);
  return lines.join(QStringLiteral("\r\n"));
}

QString TmekClipboard::GetClipboardFormatString(uint16_t Format) {
  static const std::array<std::pair<uint16_t, const char*>, 26> standard = {{
      {CF_TEXT, "CF_TEXT"},
      {CF_BITMAP, "CF_BITMAP"},
      {CF_METAFILEPICT, "CF_METAFILEPICT"},
      {CF_SYLK, "CF_SYLK"},
      {CF_DIF, "CF_DIF"},
      {CF_TIFF, "CF_TIFF"},
      {CF_OEMTEXT, "CF_OEMTEXT"},
      {CF_DIB, "CF_DIB"},
      {CF_PALETTE, "CF_PALETTE"},
      {CF_PENDATA, "CF_PENDATA"},
      {CF_RIFF, "CF_RIFF"},
      {CF_WAVE, "CF_WAVE"},
      {CF_UNICODETEXT, "CF_UNICODETEXT"},
      {CF_ENHMETAFILE, "CF_ENHMETAFILE"},
      {CF_HDROP, "CF_HDROP"},
      {CF_LOCALE, "CF_LOCALE"},
      {CF_DIBV5, "CF_DIBV5"},
      {CF_OWNERDISPLAY, "CF_OWNERDISPLAY"},
      {CF_DSPTEXT, "CF_DSPTEXT"},
      {CF_DSPBITMAP, "CF_DSPBITMAP"},
      {CF_DSPMETAFILEPICT, "CF_DSPMETAFILEPICT"},
      {CF_DSPENHMETAFILE, "CF_DSPENHMETAFILE"},
      {CF_PRIVATEFIRST, "CF_PRIVATEFIRST"},
      {CF_PRIVATELAST, "CF_PRIVATELAST"},
      {CF_GDIOBJFIRST, "CF_GDIOBJFIRST"},
      {CF_GDIOBJLAST, "CF_GDIOBJLAST"},
  }};
  for (const auto& [number, name] : standard)
    if (number == Format) return QStringLiteral("Standard clipboard format (%1)").arg(QLatin1String(name));
  QString name = ClipboardFormatName(Format).left(255);
  if (name.isEmpty()) name = QStringLiteral("Unknown, unregistered clipboard format");
  return QStringLiteral("%1 (%2)").arg(name).arg(Format);
}

TmekClipboard* MekClipboard() {
  // Made on first use, gone with the process.
  static TOwned<TmekClipboard> instance(Create<TmekClipboard>());
  return instance.get();
}

}  // namespace vorn
