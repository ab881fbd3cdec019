// The entry of the command module and what its commands share.
#include "Commands.h"

#include "CommandModule.h"

#include <vorn/raster/IMGCodec.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>

#include <cstring>

namespace vorncli {

int RunStrokes(const QStringList& Args);  // StrokesCommand.cpp
int RunRender(const QStringList& Args);   // RenderCommand.cpp
int RunInfo(const QStringList& Args);     // InfoCommand.cpp
int RunResave(const QStringList& Args);   // ResaveCommand.cpp
int RunView(const QStringList& Args);     // ViewCommand.cpp
int RunEdit(const QStringList& Args);     // EditCommand.cpp

namespace {

int GArgc = 1;
char* GArgv0[] = {const_cast<char*>("vorn"), nullptr};
char** GArgv = GArgv0;
QtMessageHandler DefaultHandler = nullptr;

// Without a login session (a container, a build machine) Qt notes that it falls back to its own
// runtime directory. The fallback is fine for this tool, and the note would turn every one-line
// message of a command into two.
void QuietHandler(QtMsgType Type, const QMessageLogContext& Context, const QString& Message) {
  if (Type == QtWarningMsg && Message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  if (DefaultHandler) DefaultHandler(Type, Context, Message);
}

int Run(int argc, char** argv) {
  GArgc = argc;
  GArgv = argv;
  QStringList args;
  for (int i = 2; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const char* name = argv[1];
  // The viewer and the editor pick their platform themselves: a window needs the display, a
  // screenshot none.
  if (std::strcmp(name, "view") == 0 || std::strcmp(name, "edit") == 0) {
    DefaultHandler = qInstallMessageHandler(QuietHandler);
    return name[0] == 'v' ? RunView(args) : RunEdit(args);
  }
  // Rendering and fonts need a GUI application; offscreen works without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  DefaultHandler = qInstallMessageHandler(QuietHandler);
  // Rendering may spread over worker processes, which start their applications themselves.
  if (std::strcmp(name, "render") == 0) return RunRender(args);
  // The other commands read and write documents and outlines; the engine opens the fonts it needs
  // itself, so they need no platform and no font database of Qt, and a core application will do.
  StartCoreApplication();
  if (std::strcmp(name, "strokes") == 0) return RunStrokes(args);
  if (std::strcmp(name, "info") == 0) return RunInfo(args);
  if (std::strcmp(name, "resave") == 0) return RunResave(args);
  return UsageError(name, QStringLiteral("not a command of the command module"));
}

bool ReadPicture(const std::string& Data, const std::string& FileName, TBitmapRows& Rows, std::string& Error) {
  QByteArray bytes = QByteArray::fromRawData(Data.data(), static_cast<qsizetype>(Data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, QFileInfo(FileText(FileName)).suffix().toLower().toLatin1());
  const QImage image = vorn::IMGMonoBitmap(reader.read());
  if (image.isNull()) {
    Error = reader.errorString().toStdString();
    return false;
  }
  // Black at index 0 in memory: the file sense is the inverse.
  Rows.Resize(image.width(), image.height());
  for (int y = 0; y < image.height(); ++y) {
    const uchar* src = image.constScanLine(y);
    uint8_t* dst = Rows.Row(y);
    for (size_t k = 0; k < Rows.Stride(); ++k) dst[k] = static_cast<uint8_t>(~src[k]);
  }
  Rows.ClearPadding();
  return true;
}

bool CanWrite(const std::string& Format) {
  return QImageWriter::supportedImageFormats().contains(QByteArray::fromStdString(Format));
}

bool WritePicture(const TBitmapRows& Rows, const std::string& FileName, const std::string& Format, std::string& Error) {
  QImage image(Rows.Width, Rows.Height, QImage::Format_Mono);
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < Rows.Height; ++y) {
    const uint8_t* src = Rows.Row(y);
    uchar* dst = image.scanLine(y);
    for (size_t k = 0; k < Rows.Stride(); ++k) dst[k] = static_cast<uchar>(~src[k]);
  }
  QImageWriter writer(FileText(FileName), QByteArray::fromStdString(Format));
  if (writer.write(image)) return true;
  Error = writer.errorString().toStdString();
  return false;
}

}  // namespace

int UsageError(const char* CommandName, const QString& Message) {
  return UsageError(CommandName, Message.toLocal8Bit().toStdString());
}

int InputError(const QString& Message) { return InputError(Message.toLocal8Bit().toStdString()); }

// Either application stays until the process ends with its command.
void StartGuiApplication() {
  if (QCoreApplication::instance()) return;
  static QGuiApplication* app = new QGuiApplication(GArgc, GArgv);
  (void)app;
}

void StartCoreApplication() {
  if (QCoreApplication::instance()) return;
  static QCoreApplication* app = new QCoreApplication(GArgc, GArgv);
  (void)app;
}

std::string FileBytes(const QString& FileName) { return QFile::encodeName(FileName).toStdString(); }
QString FileText(const std::string& FileName) { return QFile::decodeName(QByteArray::fromStdString(FileName)); }

}  // namespace vorncli

extern "C" Q_DECL_EXPORT const vorncli::TCommandModule* VornCommandModule() {
  static const vorncli::TCommandModule module{vorncli::Run, vorncli::ReadPicture, vorncli::CanWrite,
                                              vorncli::WritePicture};
  return &module;
}
