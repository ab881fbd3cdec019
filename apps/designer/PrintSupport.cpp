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
#include <QFileInfo>
#include <QFormLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>
#include <QUrl>

#include <algorithm>

namespace vorndesigner {
namespace {

QString Key(const QString& Printer, const char* Name) {
  // Printing to a file has a group of its own; printer names may hold slashes, which settings
  // read as groups, and any other character.
  if (Printer.isEmpty()) return QStringLiteral("printToFile/%1").arg(QLatin1String(Name));
  const QString name = QString::fromLatin1(QUrl::toPercentEncoding(Printer));
  return QStringLiteral("printers/%1/%2").arg(name, QLatin1String(Name));
}

QString DocumentName(const TMainWindow& Window) {
  return Window.FileName().isEmpty() ? QObject::tr("Untitled") : QFileInfo(Window.FileName()).fileName();
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

void PreparePrinter(const TMainWindow& Window, QPrinter& Printer) {
  const double perMm = vorn::CoordsPixelsPerMMConvertValue;
  const QSizeF mm(Window.Editor()->Layer()->Width() / perMm, Window.Editor()->Layer()->Height() / perMm);
  // The page size as it stands, turned when wider than high, so that the paper's width is the
  // document's width either way.
  const bool landscape = mm.width() > mm.height();
  Printer.setPageLayout(QPageLayout(QPageSize(landscape ? mm.transposed() : mm, QPageSize::Millimeter),
                                    landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  Printer.setFullPage(true);
  Printer.setDocName(DocumentName(Window));
}

void PaintCalibrated(const TMainWindow& Window, QPainter& Painter, double Dpi, const TPrintCalibration& Calibration) {
  const vorn::TKxDeEditor* e = Window.Editor();
  const vorn::TRectF page{0, 0, float(e->Layer()->Width()), float(e->Layer()->Height())};
  const vorn::TVornDocumentRenderer renderer(e->LayersList(), page, e->Layer()->Color());
  // The renderer scales uniformly; the calibration goes on the painter's view, beneath the world
  // transforms that turned shapes set up around points of the page.
  Painter.save();
  const QRect paper(0, 0, Painter.device()->width(), Painter.device()->height());
  Painter.setWindow(paper);
  Painter.setViewport(QRectF(Calibration.OffsetX * Dpi / 25.4, Calibration.OffsetY * Dpi / 25.4,
                             paper.width() * Calibration.ScaleX / 100.0, paper.height() * Calibration.ScaleY / 100.0)
                          .toRect());
  vorn::TCanvas canvas(&Painter);
  vorn::TmekDeviceCapsInfo caps = vorn::TVornDocumentRenderer::CapsFor(Painter.device(), vorn::DT_RASPRINTER);
  caps.IsGDIPrinting = true;
  renderer.Paint(&canvas, 0, 0, vorn::TVornDocumentRenderer::ZoomForDpi(Dpi), &caps, true);
  Painter.restore();
}

bool PaintForPrinter(const TMainWindow& Window, QPrinter* Printer) {
  QPainter painter(Printer);
  if (!painter.isActive()) return false;
  const bool toFile = Printer->outputFormat() == QPrinter::PdfFormat;
  const TPrintCalibration calibration = TPrintCalibration::Load(toFile ? QString() : Printer->printerName());
  PaintCalibrated(Window, painter, Printer->resolution(), calibration);
  return painter.end();
}

bool PrintToPdf(const TMainWindow& Window, const QString& FileName, QString& Error) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(FileName);
  PreparePrinter(Window, printer);
  if (PaintForPrinter(Window, &printer)) return true;
  Error = QObject::tr("%1: cannot be written").arg(FileName);
  return false;
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
  if (dialog.exec() == QDialog::Accepted && !PaintForPrinter(Window, &printer))
    Window.Prompts.ShowError(QObject::tr("Print"), QObject::tr("Printing to \"%1\" could not start.")
                                                      .arg(printer.outputFormat() == QPrinter::PdfFormat
                                                               ? printer.outputFileName()
                                                               : printer.printerName()));
}

void EditCalibration(TMainWindow& Window) {
  QDialog dialog(&Window);
  dialog.setWindowTitle(QObject::tr("Printer Calibration"));
  auto* form = new QFormLayout(&dialog);
  auto* printers = new QComboBox(&dialog);
  printers->setObjectName(QStringLiteral("printer"));
  // Printing to a PDF file has a calibration of its own, under an empty name.
  printers->addItem(QObject::tr("Print to File (PDF)"), QString());
  for (const QString& name : QPrinterInfo::availablePrinterNames()) printers->addItem(name, name);
  printers->setCurrentIndex(std::max(0, printers->findData(QPrinterInfo::defaultPrinterName())));
  form->addRow(QObject::tr("Printer:"), printers);
  auto spin = [&](const char* Name, const QString& Label, double Min, double Max, const QString& Suffix) {
    auto* s = new QDoubleSpinBox(&dialog);
    s->setObjectName(QLatin1String(Name));
    s->setRange(Min, Max);
    s->setDecimals(2);
    s->setSingleStep(0.1);
    s->setSuffix(Suffix);
    form->addRow(Label, s);
    return s;
  };
  QDoubleSpinBox* ox = spin("offsetX", QObject::tr("Offset right:"), -50, 50, QObject::tr(" mm"));
  QDoubleSpinBox* oy = spin("offsetY", QObject::tr("Offset down:"), -50, 50, QObject::tr(" mm"));
  QDoubleSpinBox* sx = spin("scaleX", QObject::tr("Horizontal scale:"), 50, 150, QObject::tr(" %"));
  QDoubleSpinBox* sy = spin("scaleY", QObject::tr("Vertical scale:"), 50, 150, QObject::tr(" %"));
  auto printer = [printers] { return printers->currentData().toString(); };
  auto show = [&] {
    const TPrintCalibration c = TPrintCalibration::Load(printer());
    ox->setValue(c.OffsetX), oy->setValue(c.OffsetY), sx->setValue(c.ScaleX), sy->setValue(c.ScaleY);
  };
  show();
  QObject::connect(printers, &QComboBox::currentIndexChanged, &dialog, show);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return;
  TPrintCalibration{ox->value(), oy->value(), sx->value(), sy->value()}.Save(printer());
}

}  // namespace vorndesigner
