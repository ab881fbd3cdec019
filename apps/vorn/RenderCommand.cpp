// vorn render: draws documents without a window into images (any raster format Qt writes), PDF
// files (vectors, the document's page size) or SVG drawings.
//
//   render DOC -o OUT                      one document
//   render -d OUTDIR --format F DOC...     many documents, in worker processes on all cores
//   render TEMPLATE --merge DATA.csv ...   one label per row of DATA.csv, its ${column}
//                                          placeholders filled: a file per row (-d OUTDIR) or a
//                                          page per row of one PDF (-o OUT.pdf)
//
// Every output file is written under a temporary name and renamed when complete.
#include "Batch.h"
#include "Commands.h"
#include "DocumentIO.h"
#include "MergeTemplate.h"

#include <vorn/common/Exceptions.h>
#include <vorn/common/Units.h>
#include <vorn/shapes/VornDocumentRenderer.h>

#include <QFileInfo>
#include <QImageWriter>

#include <cstdio>
#include <map>
#include <memory>

namespace vorncli {
namespace {

constexpr const char* kName = "render";

struct TOptions {
  QStringList Documents;
  QString Out, OutDir, Format, Merge, NamePattern;
  double Dpi = 0, Zoom = 0;
  int Jobs = 0;
};

bool ParseNumber(const QString& Text, double Low, double High, double& Value) {
  bool ok = false;
  const double v = Text.toDouble(&ok);
  if (!ok || !(v >= Low && v <= High)) return false;
  Value = v;
  return true;
}

bool IsVector(const QString& Format) { return Format == QLatin1String("pdf") || Format == QLatin1String("svg"); }

vorn::TRectF PageOf(const vorn::TKxDeDocumentSettings& S) {
  return {0, 0, static_cast<float>(S.PageWidth), static_cast<float>(S.PageHeight)};
}

double MM(double WorldUnits) { return WorldUnits / vorn::CoordsPixelsPerMMConvertValue; }

// Draws the page into FileName in Format; Summary (when given) gets a line for the user. Returns
// an error line, empty on success.
QString RenderTo(const vorn::TVornDocumentRenderer& Renderer, const QString& FileName, const QString& Format,
                 const TOptions& O, QString* Summary) {
  TOutputFile out(FileBytes(FileName));
  std::string error;
  if (!out.Create(error)) return QString::fromLocal8Bit(error);
  const QString temp = FileText(out.TempName());
  const QString title = QFileInfo(FileName).completeBaseName();
  const vorn::TRectF page = Renderer.Page();
  try {
    if (Format == QLatin1String("pdf")) {
      Renderer.RenderPdf(temp, 1200, title);
      if (Summary)
        *Summary = QStringLiteral("%1: PDF page of %2 x %3 mm")
                       .arg(FileName)
                       .arg(MM(page.Width()), 0, 'f', 1)
                       .arg(MM(page.Height()), 0, 'f', 1);
    } else if (Format == QLatin1String("svg")) {
      Renderer.RenderSvg(temp, title);
      if (Summary) *Summary = QStringLiteral("%1: SVG drawing").arg(FileName);
    } else {
      // The engine's zoom 100 is one world unit per pixel; a resolution asks for that many pixels
      // per inch of the page, and both together multiply.
      double factor = O.Dpi > 0 ? vorn::TVornDocumentRenderer::ZoomForDpi(O.Dpi) : 1.0;
      if (O.Zoom > 0) factor *= O.Zoom / 100.0;
      const QImage image = Renderer.RenderImage(factor);
      QImageWriter writer(temp, Format.toLatin1());
      if (!writer.write(image)) return QStringLiteral("%1: %2").arg(FileName, writer.errorString());
      if (Summary)
        *Summary = QStringLiteral("%1: %2 x %3 pixels at %4 dpi")
                       .arg(FileName)
                       .arg(image.width())
                       .arg(image.height())
                       .arg(vorn::TVornDocumentRenderer::DpiForZoom(factor), 0, 'f', 0);
    }
  } catch (const vorn::Exception& e) {
    QString message = e.Message();
    message.replace(temp, FileName);
    return message.contains(FileName) ? message : QStringLiteral("%1: %2").arg(FileName, message);
  }
  if (!out.Commit(error)) return QString::fromLocal8Bit(error);
  return {};
}

// The document and its renderer, for one worker.
struct TLoaded {
  LoadedDocument Document;
  std::unique_ptr<vorn::TVornDocumentRenderer> Renderer;

  QString Load(const QString& FileName) {
    std::string error;
    if (!CheckInputFile(FileBytes(FileName), error)) return QString::fromLocal8Bit(error);
    QString message;
    if (!Document.Load(FileName, message)) return message;
    for (const QString& w : Document.Warnings)
      std::fprintf(stderr, "vorn: %s: %s\n", qPrintable(FileName), qPrintable(w));
    Renderer = std::make_unique<vorn::TVornDocumentRenderer>(Document.Layers, PageOf(Document.Settings),
                                                             Document.Settings.PageColor);
    Renderer->OnProgress = TerminalProgress("drawing");
    return {};
  }
};

int RenderOne(const TOptions& O) {
  StartGuiApplication();
  TLoaded doc;
  if (const QString error = doc.Load(O.Documents[0]); !error.isEmpty()) return InputError(error);
  QString summary;
  if (const QString error = RenderTo(*doc.Renderer, O.Out, O.Format, O, &summary); !error.isEmpty())
    return InputError(error);
  std::printf("%s\n", qPrintable(summary));
  return 0;
}

// Output names in OutDir; a name that an earlier item has already taken refuses its item.
struct TOutputs {
  std::vector<QString> Names;
  std::vector<QString> Refused;

  void Add(const QString& Name, const QString& Item, std::map<QString, QString>& Taken) {
    const auto [at, added] = Taken.emplace(Name, Item);
    Names.push_back(Name);
    Refused.push_back(added ? QString()
                            : QStringLiteral("%1: not rendered, %2 is the output of %3").arg(Item, Name, at->second));
  }
};

int Finish(int64_t Failed, size_t Count, const char* Noun) {
  if (Failed > 0 && Count > 1)
    std::fprintf(stderr, "vorn render: %lld of %zu %s failed\n", static_cast<long long>(Failed), Count, Noun);
  return Failed > 0 ? 1 : 0;
}

int RenderMany(const TOptions& O) {
  TOutputs outputs;
  std::map<QString, QString> taken;
  for (const QString& doc : O.Documents)
    outputs.Add(O.OutDir + QFileInfo(doc).completeBaseName() + QLatin1Char('.') + O.Format, doc, taken);
  TBatch batch("rendering", "documents");
  batch.SetJobs(O.Jobs);
  batch.SetItemName([&](int64_t I) { return FileBytes(O.Documents[static_cast<qsizetype>(I)]); });
  const int64_t failed = batch.Run(
      O.Documents.size(),
      [] {
        StartGuiApplication();
        return std::string();
      },
      [&](int64_t I) {
        const size_t i = static_cast<size_t>(I);
        if (!outputs.Refused[i].isEmpty()) return outputs.Refused[i].toLocal8Bit().toStdString();
        TLoaded doc;
        QString error = doc.Load(O.Documents[static_cast<qsizetype>(I)]);
        if (error.isEmpty()) error = RenderTo(*doc.Renderer, outputs.Names[i], O.Format, O, nullptr);
        return error.toLocal8Bit().toStdString();
      });
  return Finish(failed, O.Documents.size(), "documents");
}

// ---- Data merge -------------------------------------------------------------------------------

struct TMerge {
  const TOptions& O;
  TCsvTable Table;
  TLoaded Template;
  std::unique_ptr<TMergeTemplate> Fields;

  QString RowName(size_t Row) const {
    return QStringLiteral("%1, row %2 (line %3)").arg(O.Merge).arg(Row + 1).arg(Table.Rows[Row].Line);
  }

  // Loads the template and matches its placeholders to the table's columns.
  QString Start() {
    StartGuiApplication();
    if (QString error = Template.Load(O.Documents[0]); !error.isEmpty()) return error;
    Template.Renderer->OnProgress = nullptr;
    Fields = std::make_unique<TMergeTemplate>(Template.Document.Layers);
    const QString error = Fields->Bind(Table.Header);
    return error.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(O.Documents[0], error);
  }

  // Fills the template with a row; an error names the row.
  QString Fill(size_t Row) {
    const QString error = Fields->Fill(Table.Rows[Row]);
    return error.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(RowName(Row), error);
  }
};

int MergeToPdf(TMerge& M) {
  if (const QString error = M.Start(); !error.isEmpty()) return InputError(error);
  if (M.Fields->Empty()) std::fprintf(stderr, "vorn: %s has no ${column} placeholders\n", qPrintable(M.O.Documents[0]));
  TOutputFile out(FileBytes(M.O.Out));
  std::string error;
  if (!out.Create(error)) return InputError(error);
  const QString temp = FileText(out.TempName());
  int64_t failed = 0;
  int32_t pages = 0;
  try {
    vorn::TVornPdfPages pdf(temp, M.Template.Renderer->Page(), QFileInfo(M.O.Out).completeBaseName());
    TProgressLine progress("merging", "rows", static_cast<int64_t>(M.Table.Rows.size()));
    for (size_t row = 0; row < M.Table.Rows.size(); ++row) {
      if (const QString rowError = M.Fill(row); !rowError.isEmpty()) {
        ++failed;
        progress.Clear();
        std::fprintf(stderr, "vorn: %s\n", qPrintable(rowError));
      } else {
        pdf.AddPage(*M.Template.Renderer);
      }
      progress.Update(static_cast<int64_t>(row + 1));
    }
    progress.Finish();
    pages = pdf.PageCount();
    if (pages > 0) pdf.Finish();
  } catch (const vorn::Exception& e) {
    return InputError(QStringLiteral("%1: %2").arg(M.O.Out, QString(e.Message()).replace(temp, M.O.Out)));
  }
  if (pages == 0) return InputError(QStringLiteral("%1: no row could be rendered").arg(M.O.Merge));
  if (!out.Commit(error)) return InputError(error);
  std::printf("%s: %d pages of %.1f x %.1f mm\n", qPrintable(M.O.Out), pages, MM(M.Template.Renderer->Page().Width()),
              MM(M.Template.Renderer->Page().Height()));
  return Finish(failed, M.Table.Rows.size(), "rows");
}

int MergeToFiles(TMerge& M) {
  const TOptions& O = M.O;
  const size_t rows = M.Table.Rows.size();
  // Names from the pattern, or the template's name and the row number ("label-0042.png").
  const QString stem = QFileInfo(O.Documents[0]).completeBaseName();
  const int digits = static_cast<int>(QString::number(rows).size());
  TMergeText pattern(O.NamePattern.toStdString());
  if (const std::vector<std::string> missing = pattern.Bind(M.Table.Header); !missing.empty())
    return UsageError(kName, QStringLiteral("--name uses ${%1}, which %2 has no column for")
                                 .arg(QString::fromStdString(missing[0]), O.Merge));
  TOutputs outputs;
  std::map<QString, QString> taken;
  for (size_t row = 0; row < rows; ++row) {
    QString name = O.NamePattern.isEmpty()
                       ? QStringLiteral("%1-%2").arg(stem).arg(row + 1, digits, 10, QLatin1Char('0'))
                       : QString::fromStdString(pattern.Fill(M.Table.Rows[row].Fields));
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    outputs.Add(O.OutDir + name + QLatin1Char('.') + O.Format, M.RowName(row), taken);
    if (name.trimmed().isEmpty())
      outputs.Refused.back() = QStringLiteral("%1: the file name is empty").arg(M.RowName(row));
  }
  TBatch batch("merging", "rows");
  batch.SetJobs(O.Jobs);
  batch.SetItemName([&](int64_t I) { return M.RowName(static_cast<size_t>(I)).toLocal8Bit().toStdString(); });
  const int64_t failed = batch.Run(
      static_cast<int64_t>(rows), [&] { return M.Start().toLocal8Bit().toStdString(); },
      [&](int64_t I) {
        const size_t row = static_cast<size_t>(I);
        QString error = outputs.Refused[row];
        if (error.isEmpty()) error = M.Fill(row);
        if (error.isEmpty()) error = RenderTo(*M.Template.Renderer, outputs.Names[row], O.Format, O, nullptr);
        return error.toLocal8Bit().toStdString();
      });
  return Finish(failed, rows, "rows");
}

int Merge(const TOptions& O) {
  TMerge merge{O, {}, {}, {}};
  std::string data, error;
  if (!ReadInputFile(FileBytes(O.Merge), data, error, true)) return InputError(QString::fromLocal8Bit(error));
  if (!merge.Table.Parse(data, error))
    return InputError(QStringLiteral("%1: %2").arg(O.Merge, QString::fromStdString(error)));
  if (merge.Table.Rows.empty()) return InputError(QStringLiteral("%1: no rows after the header").arg(O.Merge));
  return O.OutDir.isEmpty() ? MergeToPdf(merge) : MergeToFiles(merge);
}

}  // namespace

int RunRender(const QStringList& Args) {
  TOptions o;
  for (qsizetype i = 0; i < Args.size(); ++i) {
    const QString& a = Args[i];
    const bool hasValue = i + 1 < Args.size();
    auto value = [&](QString& Target) {
      if (!hasValue) return false;
      Target = Args[++i];
      return true;
    };
    bool ok = true;
    if (a == QLatin1String("-o") || a == QLatin1String("--output")) ok = value(o.Out);
    else if (a == QLatin1String("-d") || a == QLatin1String("--directory")) ok = value(o.OutDir);
    else if (a == QLatin1String("--format")) ok = value(o.Format);
    else if (a == QLatin1String("--merge")) ok = value(o.Merge);
    else if (a == QLatin1String("--name")) ok = value(o.NamePattern);
    else if (a == QLatin1String("--dpi")) {
      if (!hasValue || !ParseNumber(Args[++i], 1, 4800, o.Dpi))
        return UsageError(kName, QStringLiteral("--dpi takes a resolution from 1 to 4800"));
    } else if (a == QLatin1String("--zoom")) {
      if (!hasValue || !ParseNumber(Args[++i], 1, 10000, o.Zoom))
        return UsageError(kName, QStringLiteral("--zoom takes a percentage from 1 to 10000"));
    } else if (a == QLatin1String("-j") || a == QLatin1String("--jobs")) {
      if (!hasValue || (o.Jobs = Args[++i].toInt()) < 1)
        return UsageError(kName, QStringLiteral("%1 takes a number of processes").arg(a));
    } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
      return UsageError(kName, QStringLiteral("unknown option '%1'").arg(a));
    } else {
      o.Documents << a;
    }
    if (!ok) return UsageError(kName, QStringLiteral("%1 needs a value").arg(a));
  }
  if (o.Documents.isEmpty()) return UsageError(kName, QStringLiteral("no document given"));
  if (o.Out.isEmpty() == o.OutDir.isEmpty())
    return UsageError(kName, QStringLiteral("give an output file (-o OUT) or directory (-d OUTDIR)"));
  if (!o.Out.isEmpty()) {
    if (o.Documents.size() > 1) return UsageError(kName, QStringLiteral("more than one document given; use -d OUTDIR"));
    if (!o.Format.isEmpty() || !o.NamePattern.isEmpty())
      return UsageError(kName, QStringLiteral("--format and --name go with -d OUTDIR"));
    o.Format = QFileInfo(o.Out).suffix().toLower();
    if (!o.Merge.isEmpty() && o.Format != QLatin1String("pdf"))
      return UsageError(kName, QStringLiteral("a merge into one file makes a PDF (-o OUT.pdf)"));
  } else {
    if (!o.Merge.isEmpty() && o.Documents.size() > 1)
      return UsageError(kName, QStringLiteral("a merge takes one template"));
    if (!o.NamePattern.isEmpty() && o.Merge.isEmpty())
      return UsageError(kName, QStringLiteral("--name goes with --merge"));
    o.Format = o.Format.isEmpty() ? QStringLiteral("png") : o.Format.toLower();
  }
  const bool vector = IsVector(o.Format);
  if (!vector && (o.Format.isEmpty() || !QImageWriter::supportedImageFormats().contains(o.Format.toLatin1())))
    return UsageError(kName, QStringLiteral("cannot write files of type '%1' (use .png, .pdf or .svg)").arg(o.Format));
  if (vector && (o.Dpi > 0 || o.Zoom > 0)) return UsageError(kName, QStringLiteral("--dpi and --zoom apply to images"));
  if (!o.OutDir.isEmpty()) {
    std::string error;
    if (!MakeDirectories(FileBytes(o.OutDir), error)) return InputError(QString::fromLocal8Bit(error));
    if (!o.OutDir.endsWith(QLatin1Char('/'))) o.OutDir += QLatin1Char('/');
  }

  if (!o.Merge.isEmpty()) return Merge(o);
  if (!o.Out.isEmpty()) return RenderOne(o);
  return RenderMany(o);
}

}  // namespace vorncli
