// vorn view DOC [--zoom PERCENT] [--size WxH] [--screenshot OUT.png]: shows a document in a
// viewer window. Ctrl + wheel zooms, the wheel and the bars scroll, and the status line names
// the shape under the pointer. With --screenshot the viewer is drawn into a picture file instead
// of being shown, which needs no display.

#include "Commands.h"
#include "DocumentIO.h"

#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeRegister.h>
#include <vorn/surface/KxDeViewer.h>

#include <QApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QPixmap>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <memory>

namespace vorncli {
namespace {

const char* const kName = "view";

struct TViewOptions {
  QString Document;
  QString Screenshot;
  int Zoom = 100;
  int Width = 0;
  int Height = 0;
};

bool ParseSize(const QString& Text, int& W, int& H) {
  const QStringList parts = Text.toLower().split(QLatin1Char('x'));
  if (parts.size() != 2) return false;
  bool okW = false, okH = false;
  W = parts[0].toInt(&okW);
  H = parts[1].toInt(&okH);
  return okW && okH && W >= 16 && H >= 16 && W <= 16384 && H <= 16384;
}

// What the status line says about the shape under the pointer.
QString Describe(const vorn::TKxDeShapeBase* S) {
  if (!S) return QString();
  QString kind = vorn::TKxDeRegister::FindShapeDisplayName(S);
  if (kind.isEmpty()) kind = S->ClassName();
  const QString name = S->Name();
  return name.isEmpty() ? QStringLiteral("%1 #%2").arg(kind).arg(S->ID())
                        : QStringLiteral("%1 \"%2\"").arg(kind, name);
}

QString WriteScreenshot(QWidget& Viewer, const QString& FileName) {
  const QImage image = Viewer.grab().toImage();
  QSaveFile file(FileName);
  if (!file.open(QIODevice::WriteOnly)) return QStringLiteral("%1: %2").arg(FileName, file.errorString());
  QImageWriter writer(&file, QByteArray());
  writer.setFormat(QFileInfo(FileName).suffix().toLower().toLatin1());
  if (writer.format().isEmpty()) writer.setFormat("png");
  if (!writer.write(image)) return QStringLiteral("%1: %2").arg(FileName, writer.errorString());
  if (!file.commit()) return QStringLiteral("%1: %2").arg(FileName, file.errorString());
  return QString();
}

}  // namespace

int RunView(const QStringList& Args) {
  TViewOptions o;
  for (qsizetype i = 0; i < Args.size(); ++i) {
    const QString& a = Args[i];
    const bool hasValue = i + 1 < Args.size();
    if (a == QLatin1String("--screenshot")) {
      if (!hasValue) return UsageError(kName, QStringLiteral("--screenshot takes a file name"));
      o.Screenshot = Args[++i];
    } else if (a == QLatin1String("--zoom")) {
      bool ok = false;
      if (hasValue) o.Zoom = Args[++i].toInt(&ok);
      if (!ok || o.Zoom < 1 || o.Zoom > 10000) return UsageError(kName, QStringLiteral("--zoom takes a percentage from 1 to 10000"));
    } else if (a == QLatin1String("--size")) {
      if (!hasValue || !ParseSize(Args[++i], o.Width, o.Height))
        return UsageError(kName, QStringLiteral("--size takes WIDTHxHEIGHT in pixels, each from 16 to 16384"));
    } else if (a.startsWith(QLatin1Char('-'))) {
      return UsageError(kName, QStringLiteral("unknown option %1").arg(a));
    } else if (o.Document.isEmpty()) {
      o.Document = a;
    } else {
      return UsageError(kName, QStringLiteral("one document at a time"));
    }
  }
  if (o.Document.isEmpty()) return UsageError(kName, QStringLiteral("no document given"));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    // A screenshot needs no display; a window does.
    if (!o.Screenshot.isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
      return InputError(QStringLiteral("no display to show the viewer on (--screenshot FILE draws it into a file)"));
  }

  int argc = 1;
  static char arg0[] = "vorn";
  static char* argv[] = {arg0, nullptr};
  QApplication app(argc, argv);
  LoadedDocument doc;
  QString error;
  if (!doc.Load(o.Document, error)) return InputError(error);

  auto viewer = std::make_unique<vorn::TKxDeViewer>();
  viewer->setWindowTitle(QStringLiteral("%1 - Vorn").arg(QFileInfo(o.Document).fileName()));
  viewer->Layer()->SetBounds(doc.Settings.PageWidth, doc.Settings.PageHeight);
  viewer->Layer()->SetColor(doc.Settings.PageColor);
  {
    vorn::TKxDeLayerList layers;
    std::swap(layers, doc.Layers);  // the viewer owns them from here on
    viewer->BeginUpdate();
    for (vorn::TKxDeLayer* layer : layers) viewer->InsertLayer(layer);
    viewer->EndUpdate();
  }
  // The document as it prints: no grid over it.
  viewer->Grid()->SetGridType(vorn::TKxDeGridType::kxgtNone);
  viewer->SetShowStatusBar(true);
  viewer->SetZoom(o.Zoom);
  vorn::TKxDeViewer* v = viewer.get();
  viewer->OnShapeMove = [v](vorn::TObject*, vorn::TKxDeShapeBase* S) { v->SetStatusText(Describe(S)); };
  viewer->OnMouseWheelZoom = [v](vorn::TObject*, int16_t Delta) {
    const double factor = Delta > 0 ? 1.25 : 0.8;
    v->SetZoom(static_cast<int32_t>(std::lround(v->Zoom() * factor)));
  };
  // Without a size given, the page at its zoom with room around it, within a usual screen.
  if (o.Width == 0) {
    const double z = viewer->GetZoom();
    o.Width = std::clamp(static_cast<int>(doc.Settings.PageWidth * z) + 2 * viewer->Indent() + 24, 200, 1600);
    o.Height = std::clamp(static_cast<int>(doc.Settings.PageHeight * z) + 2 * viewer->Indent() + 48, 150, 1000);
  }
  viewer->resize(o.Width, o.Height);
  if (!o.Screenshot.isEmpty()) {
    viewer->setAttribute(Qt::WA_DontShowOnScreen);
    viewer->show();
    const QString failed = WriteScreenshot(*viewer, o.Screenshot);
    if (!failed.isEmpty()) return InputError(failed);
    return 0;
  }
  viewer->show();
  return app.exec();
}

}  // namespace vorncli
