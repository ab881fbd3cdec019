// One side of a copy and paste between two processes on a real X server.
//   clipboard_peer copy DOC EXPECTED -- COMMAND...  copies every shape of DOC (pictures for other
//     programs too), writes what a paste of it must give to EXPECTED, runs COMMAND while it keeps
//     the clipboard and ends with COMMAND's status (3 when it has not ended within 20 s).
//   clipboard_peer paste ACTUAL   pastes into an empty editor and writes what it pasted.
//   clipboard_peer inked PNG      fails unless the image has an opaque pixel.

#include <vorn/common/Units.h>
#include <vorn/editor/KxDeEditor.h>
#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/shapes/VornShapes.h>

#include "support/ShapeContent.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTimer>

#include <cstdio>

using namespace vorn;

namespace {

int Fail(const QString& Message) {
  std::fprintf(stderr, "clipboard_peer: %s\n", qPrintable(Message));
  return 1;
}

int Write(const QString& FileName, const std::vector<TKxDeShapeBase*>& Shapes, float Offset) {
  std::string text;
  for (const TKxDeShapeBase* s : Shapes) text += test::ShapeContent(s, Offset);
  QFile f(FileName);
  return !Shapes.empty() && f.open(QIODevice::WriteOnly) && f.write(text.data(), qint64(text.size())) > 0
             ? 0
             : Fail(FileName + (Shapes.empty() ? " would have no shapes" : " cannot be written"));
}

int Copy(TKxDeEditor& E, const QStringList& Args) {
  TKxDeLayerList layers;
  TKxDeDocumentSettings settings;
  TKxDeDocumentFile::LoadLayersFromFile(Args[2], layers, settings);
  for (TKxDeLayer* layer : layers) E.InsertLayer(layer);
  E.SelectAll();
  E.SetClipboardPictures(true);
  E.CopyToClipboard();
  // The first paste of a copy lands one millimetre right of and below the copied shapes.
  if (Write(Args[3], E.Selections(), CoordsPixelsPerMMConvertValue) != 0) return 1;
  QProcess other;
  other.setProcessChannelMode(QProcess::ForwardedChannels);
  QObject::connect(&other, &QProcess::finished, qApp, [&](int Code, QProcess::ExitStatus Status) {
    QCoreApplication::exit(Status == QProcess::NormalExit ? Code : Fail(Args[5] + " crashed"));
  });
  QObject::connect(&other, &QProcess::errorOccurred, qApp, [&](QProcess::ProcessError Error) {
    if (Error == QProcess::FailedToStart) QCoreApplication::exit(Fail(Args[5] + ": " + other.errorString()));
  });
  QTimer::singleShot(20000, qApp, [&] {
    Fail(Args[5] + " has not ended within 20 s while this process held the clipboard");
    other.kill();
    QCoreApplication::exit(3);
  });
  other.start(Args[5], Args.mid(6));
  // The clipboard's owner answers the other process from its event loop.
  return QCoreApplication::exec();
}

int Paste(TKxDeEditor& E, const QString& FileName) {
  TKxDeLayer* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&E));
  E.PasteFromClipboard();
  std::vector<TKxDeShapeBase*> pasted;
  for (int32_t i = 0; i < layer->ItemCount(); ++i) pasted.push_back(layer->Items(i));
  return Write(FileName, pasted, 0);
}

int Inked(const QString& FileName) {
  const QImage image(FileName);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) == 255) return 0;
  return Fail(FileName + QStringLiteral(" has no opaque pixel"));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  RegisterVornShapes();
  TKxDeEditor editor;
  try {
    if (args.size() > 5 && args[1] == QLatin1String("copy") && args[4] == QLatin1String("--"))
      return Copy(editor, args);
    if (args.size() == 3 && args[1] == QLatin1String("paste")) return Paste(editor, args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("inked")) return Inked(args[2]);
  } catch (const Exception& e) {
    return Fail(e.Message());
  }
  return Fail(QStringLiteral("usage: copy DOC EXPECTED -- COMMAND... | paste ACTUAL | inked PNG"));
}
