#include "PrintSupport.h"

#include "MainWindow.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/Units.h>
#include <vorn/editor/KxDeEditor.h>
#include <vorn/shapes/VornDocumentRenderer.h>

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

namespace vorndesigner {
namespace {

QString Key(const QString& Printer, const char* Name) {
  // Printer names may hold slashes, which settings read as groups.
  QString p = Printer;
  p.replace(QLatin1Char('/'), QLatin1Char('_'));
  return QStringLiteral("printers/%1/%2").arg(p, QLatin1String(Name));
}

// Sets the printer's page to the document's page, without margins.
void PreparePrinter(const TMainWindow& Window, QPrinter& Printer) {
  const double perMm = vorn::CoordsPixelsPerMMConvertValue;
  const QSizeF mm(Window.Editor()->Layer()->Width() / perMm, Window.Editor()->Layer()->Height() / perMm);
  Printer.setPageLayout(QPageLayout(QPageSize(mm, QPageSize::Millimeter), mm.width() > mm.height()
                                                                                ? QPageLayout::Landscape
                                                                                : QPageLayout::Portrait,
                                    QMarginsF(0, 0, 0, 0)));
  Printer.setFullPage(true);
  Printer.setDocName(Window.FileName().isEmpty() ? QObject::tr("Untitled") : Window.FileName());
}

}  // namespace

TPrintCalibration TPrintCalibration::Load(const QString& Printer) {
  const QSettings s;
  TPrintCalibration c;
  c.OffsetX = s.value(Key(Printer, "offsetX"), 0.0).toDouble();
  c.OffsetY = s.value(Key(Printer, "offsetY"), 0.0).toDouble();
  c.ScaleX = s.value(Key(Printer, "scaleX"), 100.0).toDouble();
  c.ScaleY = s.value(Key(Printer, "scaleY"), 100.0).toDouble();
  return c;
}

void TPrintCalibration::Save(const QString& Printer) const {
  QSettings s;
  s.setValue(Key(Printer, "offsetX"), OffsetX);
  s.setValue(Key(Printer, "offsetY"), OffsetY);
  s.setValue(Key(Printer, "scaleX"), ScaleX);
  s.setValue(Key(Printer, "scaleY"), ScaleY);
}

void PaintForPrinter(const TMainWindow& Window, QPrinter* Printer) {
  const vorn::TKxDeEditor* e = Window.Editor();
  const vorn::TRectF page{0, 0, float(e->Layer()->Width()), float(e->Layer()->Height())};
  const vorn::TVornDocumentRenderer renderer(e->LayersList(), page, e->Layer()->Color());
  const TPrintCalibration cal = TPrintCalibration::Load(Printer->printerName());
  QPainter painter(Printer);
  if (!painter.isActive()) return;
  const double dpi = Printer->resolution();
  const double zoom = vorn::TVornDocumentRenderer::ZoomForDpi(dpi);
  // The renderer scales uniformly; the calibration's own scale goes on the painter.
  painter.translate(cal.OffsetX * dpi / 25.4, cal.OffsetY * dpi / 25.4);
  painter.scale(cal.ScaleX / 100.0, cal.ScaleY / 100.0);
  vorn::TCanvas canvas(&painter);
  vorn::TmekDeviceCapsInfo caps = vorn::TVornDocumentRenderer::CapsFor(Printer, vorn::DT_RASPRINTER);
  caps.IsGDIPrinting = true;
  renderer.Paint(&canvas, 0, 0, zoom, &caps, true);
}

void PrintPreview(TMainWindow& Window) {
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(Window, printer);
  QPrintPreviewDialog dialog(&printer, &Window);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &Window,
                   [&Window](QPrinter* P) { PaintForPrinter(Window, P); });
  dialog.exec();
}

void PrintWithDialog(TMainWindow& Window) {
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(Window, printer);
  QPrintDialog dialog(&printer, &Window);
  if (dialog.exec() == QDialog::Accepted) PaintForPrinter(Window, &printer);
}

void EditCalibration(TMainWindow& Window) {
  QDialog dialog(&Window);
  dialog.setWindowTitle(QObject::tr("Printer Calibration"));
  auto* form = new QFormLayout(&dialog);
  auto* printers = new QComboBox(&dialog);
  printers->addItems(QPrinterInfo::availablePrinterNames());
  // Printing to a PDF file has a calibration of its own under an empty name.
  if (printers->count() == 0) printers->addItem(QString());
  printers->setCurrentText(QPrinterInfo::defaultPrinterName());
  form->addRow(QObject::tr("Printer:"), printers);
  auto spin = [&](const QString& Label, double Min, double Max, const QString& Suffix) {
    auto* s = new QDoubleSpinBox(&dialog);
    s->setRange(Min, Max);
    s->setDecimals(2);
    s->setSingleStep(0.1);
    s->setSuffix(Suffix);
    form->addRow(Label, s);
    return s;
  };
  QDoubleSpinBox* ox = spin(QObject::tr("Offset right:"), -50, 50, QObject::tr(" mm"));
  QDoubleSpinBox* oy = spin(QObject::tr("Offset down:"), -50, 50, QObject::tr(" mm"));
  QDoubleSpinBox* sx = spin(QObject::tr("Horizontal scale:"), 50, 150, QObject::tr(" %"));
  QDoubleSpinBox* sy = spin(QObject::tr("Vertical scale:"), 50, 150, QObject::tr(" %"));
  auto show = [&] {
    const TPrintCalibration c = TPrintCalibration::Load(printers->currentText());
    ox->setValue(c.OffsetX), oy->setValue(c.OffsetY), sx->setValue(c.ScaleX), sy->setValue(c.ScaleY);
  };
  show();
  QObject::connect(printers, &QComboBox::currentTextChanged, &dialog, show);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return;
  TPrintCalibration{ox->value(), oy->value(), sx->value(), sy->value()}.Save(printers->currentText());
}

}  // namespace vorndesigner
