#pragma once
// Printing with Qt's print support. A label must come out at its true size, yet printers place
// and scale their output a little differently: each printer (by name) keeps a calibration, an
// offset in millimetres and a scale in per cent on each axis, that the print and its preview
// apply. The page of the printer is the document's page.

#include <QString>

class QPrinter;
class QWidget;

namespace vorndesigner {

class TMainWindow;

struct TPrintCalibration {
  double OffsetX = 0;  // millimetres to the right
  double OffsetY = 0;  // millimetres down
  double ScaleX = 100;  // per cent
  double ScaleY = 100;

  // The calibration stored for a printer (the settings' "printers" group), or none.
  static TPrintCalibration Load(const QString& Printer);
  void Save(const QString& Printer) const;
};

// Paints the window's document onto Printer as it prints: the layers allowed on paper, with the
// printer's calibration.
void PaintForPrinter(const TMainWindow& Window, QPrinter* Printer);
// The preview dialog (printing from it), the print dialog, and the calibration dialog for the
// printer the user picks.
void PrintPreview(TMainWindow& Window);
void PrintWithDialog(TMainWindow& Window);
void EditCalibration(TMainWindow& Window);

}  // namespace vorndesigner
