#pragma once
// What the commands that open a window on a document share (`vorn view`, `vorn edit`): their
// options, the display check, and drawing the window into a picture file instead of showing it.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

namespace vorn {
class TKxDeSurface;
}

namespace vorncli {

struct TWindowOptions {
  QString Document;
  QString Screenshot;
  int Zoom = 100;
  // 0: fitted to the page.
  int Width = 0;
  int Height = 0;
};

// Reads DOC [--zoom PERCENT] [--size WxH] [--screenshot OUT.png]; returns the exit status of a
// usage error, or -1 when the options are fine. Chooses the offscreen platform for a screenshot
// and returns an input error when a window is asked for without a display.
int ParseWindowOptions(const char* CommandName, const QStringList& Args, TWindowOptions& Options);

// The window size showing a page of Width x Height pixels with room around it, within a usual
// screen, unless the options give one.
void FitWindowSize(TWindowOptions& Options, double PageWidth, double PageHeight, int Room);

// Draws Window into FileName (format by its suffix, PNG otherwise); an error text, or empty.
QString WriteScreenshot(QWidget& Window, const QString& FileName);

// The whole of a window command: reads the options, starts the application and asks Make for
// the window on the document (none, with Error set to one line, when it cannot be opened; Make
// fits the options' size to the page with FitWindowSize). The window then takes the options'
// size and is either drawn into the screenshot file or shown until it is closed.
using TMakeWindow = std::function<std::unique_ptr<QWidget>(TWindowOptions& Options, QString& Error)>;
int RunWindowCommand(const char* CommandName, const QStringList& Args, const TMakeWindow& Make);

// Ctrl + wheel: a quarter more or a fifth less zoom per step.
void ZoomByWheel(vorn::TKxDeSurface* Surface, int16_t Delta);

}  // namespace vorncli
