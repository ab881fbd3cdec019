#include "WindowCommand.h"

#include "Commands.h"

#include <vorn/surface/KxDeSurface.h>

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace vorncli {
namespace {

bool ParseSize(const QString& Text, int& W, int& H) {
  const QStringList fields = Text.toLower().split(QLatin1Char('x'));
  if (fields.size() != 2) return false;
  bool okW = false, okH = false;
  W = fields[0].toInt(&okW);
  H = fields[1].toInt(&okH);
  return okW && okH && W >= 16 && H >= 16 && W <= 16384 && H <= 16384;
}

}  // namespace

int ParseWindowOptions(const char* CommandName, const QStringList& Args, TWindowOptions& O) {
  for (qsizetype i = 0; i < Args.size(); ++i) {
    const QString& a = Args[i];
    const bool hasValue = i + 1 < Args.size();
    if (a == QLatin1String("--screenshot")) {
      if (!hasValue) return UsageError(CommandName, QStringLiteral("--screenshot takes a file name"));
      O.Screenshot = Args[++i];
    } else if (a == QLatin1String("--zoom")) {
      bool ok = false;
      if (hasValue) O.Zoom = Args[++i].toInt(&ok);
      if (!ok || O.Zoom < 1 || O.Zoom > 10000)
        return UsageError(CommandName, QStringLiteral("--zoom takes a percentage from 1 to 10000"));
    } else if (a == QLatin1String("--size")) {
      if (!hasValue || !ParseSize(Args[++i], O.Width, O.Height))
        return UsageError(CommandName, QStringLiteral("--size takes WIDTHxHEIGHT in pixels, each from 16 to 16384"));
    } else if (a.startsWith(QLatin1Char('-'))) {
      return UsageError(CommandName, QStringLiteral("unknown option %1").arg(a));
    } else if (O.Document.isEmpty()) {
      O.Document = a;
    } else {
      return UsageError(CommandName, QStringLiteral("one document at a time"));
    }
  }
  if (O.Document.isEmpty()) return UsageError(CommandName, QStringLiteral("no document given"));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    // A screenshot needs no display; a window does.
    if (!O.Screenshot.isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
      return InputError(QStringLiteral("no display to show the window on (--screenshot FILE draws it into a file)"));
  }
  return -1;
}

void FitWindowSize(TWindowOptions& O, double PageWidth, double PageHeight, int Room) {
  if (O.Width != 0) return;
  O.Width = std::clamp(static_cast<int>(PageWidth) + Room + 24, 200, 1600);
  O.Height = std::clamp(static_cast<int>(PageHeight) + Room + 48, 150, 1000);
}

QString WriteScreenshot(QWidget& Window, const QString& FileName) {
  const QImage image = Window.grab().toImage();
  QSaveFile file(FileName);
  if (!file.open(QIODevice::WriteOnly)) return QStringLiteral("%1: %2").arg(FileName, file.errorString());
  QImageWriter writer(&file, QByteArray());
  writer.setFormat(QFileInfo(FileName).suffix().toLower().toLatin1());
  if (writer.format().isEmpty()) writer.setFormat("png");
  if (!writer.write(image)) return QStringLiteral("%1: %2").arg(FileName, writer.errorString());
  if (!file.commit()) return QStringLiteral("%1: %2").arg(FileName, file.errorString());
  return QString();
}

int RunWindowCommand(const char* CommandName, const QStringList& Args, const TMakeWindow& Make) {
  TWindowOptions o;
  if (const int status = ParseWindowOptions(CommandName, Args, o); status >= 0) return status;
  int argc = 1;
  static char arg0[] = "vorn";
  static char* argv[] = {arg0, nullptr};
  QApplication app(argc, argv);
  QString error;
  std::unique_ptr<QWidget> window = Make(o, error);
  if (!window) return InputError(error);
  window->resize(o.Width, o.Height);
  if (!o.Screenshot.isEmpty()) {
    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->show();
    const QString failed = WriteScreenshot(*window, o.Screenshot);
    return failed.isEmpty() ? 0 : InputError(failed);
  }
  window->show();
  return app.exec();
}

void ZoomByWheel(vorn::TKxDeSurface* Surface, int16_t Delta) {
  const double factor = Delta > 0 ? 1.25 : 0.8;
  Surface->SetZoom(static_cast<int32_t>(std::lround(Surface->Zoom() * factor)));
}

}  // namespace vorncli
