#pragma once
// Printing with Qt's print support. A label must come out at its true size, yet printers place
// and scale their output a little differently: each printer (by name) keeps a calibration, an
// offset in millimetres and a scale in per cent on each axis, that the print and its preview
// apply. The page of the printer is the document's page.

#include <QString>

class QPainter;
class QPrinter;
class QWidget;

namespace vorndesigner {

class TMainWindow;

struct TPrintCalibration {
  double OffsetX = 0;  // millimetres to the right
  double OffsetY = 0;  // millimetres down
  double ScaleX = 100;  // per cent
  double ScaleY = 100;

  // The calibration stored for a printer by its name (empty: printing to a PDF file), or none.
  static TPrintCalibration Load(const QString& Printer);
  void Save(const QString& Printer) const;
};

// Sets Printer's page to the document's page, without margins.
void PreparePrinter(const TMainWindow& Window, QPrinter& Printer);
// Paints the layers allowed on paper onto Painter, whose device has Dpi dots per inch and its
// origin at the paper's corner: moved by the calibration's offset, then scaled by its scale from
// that corner.
void PaintCalibrated(const TMainWindow& Window, QPainter& Painter, double Dpi, const TPrintCalibration& Calibration);
// Paints the document onto Printer as it prints, with the printer's calibration; false when the
// printer cannot be started.
bool PaintForPrinter(const TMainWindow& Window, QPrinter* Printer);
// Prints the document into a PDF file, as printing to a file does; false with Error.
bool PrintToPdf(const TMainWindow& Window, const QString& FileName, QString& Error);
// The preview dialog (printing from it), the print dialog, and the calibration dialog for the
// printer the user picks.
void PrintPreview(TMainWindow& Window);
void PrintWithDialog(TMainWindow& Window);
void EditCalibration(TMainWindow& Window);

}  // namespace vorndesigner
