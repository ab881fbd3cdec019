// `vorn render` with many documents and with data merge: every good document or row gives its file
// or page, every bad one is reported once (rows with their row and line numbers) and leaves nothing.
#include "support/TestSupport.h"
#include "support/ToolRun.h"

#include <vorn/shapes/VornShapes.h>

#include <QDir>
#include <QFileInfo>

using namespace vorn;
using TRun = vorn::test::TToolRun;

namespace {

class RenderBatch : public vorn::test::TToolTest {
 protected:
  void SetUp() override {
    TToolTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    RegisterVornShapes();
    // A 60 x 40 mm label: an address text and an EAN-13 barcode filled from the data.
    const auto mm = [](double V) { return static_cast<float>(V * CoordsPixelsPerMMConvertValue); };
    TKxDeLayer* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(nullptr));
    auto* text = Create<TVornText>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(layer));
    text->SetBounds(mm(3), mm(3), mm(54), mm(14));
    text->SetText(QStringLiteral("${name}\n${street}"));
    auto* code = Create<TVornBarcode>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(layer));
    code->SetName(QStringLiteral("Article"));
    code->SetBounds(mm(3), mm(20), mm(54), mm(17));
    code->SetSymbology(TVornBarcodeType::vbtEAN13);
    code->SetText(QStringLiteral("${ean}"));
    TKxDeDocumentSettings settings;
    settings.PageWidth = static_cast<int32_t>(std::lround(mm(60)));
    settings.PageHeight = static_cast<int32_t>(std::lround(mm(40)));
    TKxDeDocumentFile::SaveLayersToFile(Path("label.vorn"), {layer}, settings);
    Free(layer);
  }

  void Write(const QString& Name, const QByteArray& Bytes) const { vorn::test::WriteFile(Path(Name), Bytes); }
  QStringList Files(const QString& Sub) const {
    return QDir(Path(Sub)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
};

}  // namespace

TEST_F(RenderBatch, MergeRendersTheGoodRowsAndNamesTheBadOnes) {
  Write("data.csv",
        "name,street,ean\r\n"
        "Ada Lindqvist,\"Kungsgatan 44, lgh 1203\",4006381333931\r\n"
        "\"M\xC3\xBCller \"\"&\"\" S\xC3\xB6hne\",\"Hafenstra\xC3\x9F"
        "e 7\r\nTor B\",9780201379624\r\n"
        "Bad Barcode,Somewhere,12345ABC\r\n"
        "Short Row,Nowhere\r\n"
        "\xC3\x85sa \xC3\x96"
        "berg,Storgatan 1,5901234123457\r\n");
  const QStringList rowErrors = {
      QStringLiteral("data.csv, row 3 (line 5): barcode \"Article\" cannot encode \"12345ABC\""),
      QStringLiteral("data.csv, row 4 (line 6): 2 fields where the header has 3"),
  };
  auto expectRowErrors = [&](const TRun& R) {
    EXPECT_EQ(R.Status, 1);
    const QStringList errors = R.Errors();
    for (const QString& e : rowErrors)
      EXPECT_EQ(errors.filter(e).size(), 1) << e.toStdString() << " in\n" << R.Err.toStdString();
  };

  // A file per row, named from the data.
  const TRun files = Run({"render", Path("label.vorn"), "--merge", Path("data.csv"), "-d", Path("svg"), "--format",
                          "svg", "--name", "${name}"});
  expectRowErrors(files);
  EXPECT_EQ(Files("svg"),
            (QStringList{QString::fromUtf8("Ada Lindqvist.svg"), QString::fromUtf8("M\u00fcller \"&\" S\u00f6hne.svg"),
                         QString::fromUtf8("\u00c5sa \u00d6berg.svg")}));
  const QString ada = QString::fromUtf8(vorn::test::ReadFile(Path("svg/Ada Lindqvist.svg")));
  EXPECT_TRUE(ada.contains(QLatin1String(">Ada Lindqvist<")) &&
              ada.contains(QLatin1String(">Kungsgatan 44, lgh 1203<")));
  const QString mueller =
      QString::fromUtf8(vorn::test::ReadFile(Path(QString::fromUtf8("svg/M\u00fcller \"&\" S\u00f6hne.svg"))));
  EXPECT_TRUE(mueller.contains(QString::fromUtf8(">Hafenstra\u00dfe 7<")) &&
              mueller.contains(QLatin1String(">Tor B<")));
  EXPECT_TRUE(QString::fromUtf8(vorn::test::ReadFile(Path(QString::fromUtf8("svg/\u00c5sa \u00d6berg.svg"))))
                  .contains(QString::fromUtf8(">\u00c5sa \u00d6berg<")));

  // One PDF with a page per good row; the default names number the rows.
  const TRun pdf = Run({"render", Path("label.vorn"), "--merge", Path("data.csv"), "-o", Path("labels.pdf")});
  expectRowErrors(pdf);
  EXPECT_TRUE(vorn::test::ReadFile(Path("labels.pdf")).contains("/Count 3"));
  expectRowErrors(Run({"render", Path("label.vorn"), "--merge", Path("data.csv"), "-d", Path("png"), "--dpi", "100"}));
  EXPECT_EQ(Files("png"), (QStringList{"label-1.png", "label-2.png", "label-5.png"}));
}

TEST_F(RenderBatch, MergeWithoutAColumnForAPlaceholderStopsWithOneMessage) {
  Write("data.csv", "name,street\nAda,Kungsgatan 44\n");
  for (const QStringList& output : {QStringList{"-o", Path("out/labels.pdf")}, QStringList{"-d", Path("out")}}) {
    const TRun run = Run(QStringList{"render", Path("label.vorn"), "--merge", Path("data.csv")} + output);
    EXPECT_EQ(run.Status, 1);
    const QStringList errors = run.Errors();
    ASSERT_EQ(errors.size(), 1) << run.Err.toStdString();
    EXPECT_TRUE(errors[0].contains(QLatin1String("no column for ${ean} (the columns are: name, street)")))
        << errors[0].toStdString();
    EXPECT_EQ(Files("out"), QStringList{});
  }
  // Damaged data stops before anything is drawn.
  Write("broken.csv", "name,street,ean\nAda,\"Kungsgatan 44\n");
  const TRun broken = Run({"render", Path("label.vorn"), "--merge", Path("broken.csv"), "-d", Path("out")});
  EXPECT_EQ(broken.Status, 1);
  EXPECT_TRUE(broken.Err.contains("broken.csv: line 2: a quoted field is not closed")) << broken.Err.toStdString();
}

TEST_F(RenderBatch, DocumentBatchSkipsWhatCannotBeRendered) {
  ASSERT_TRUE(QDir(Dir.path()).mkpath("other"));
  ASSERT_TRUE(QFile::copy(Path("label.vorn"), Path("second.vorn")));
  ASSERT_TRUE(QFile::copy(Path("label.vorn"), Path("other/label.vorn")));
  Write("broken.vorn", "<VornDocument Version=\"1.0\"><Layers><o Class=");
  ASSERT_TRUE(QDir(Dir.path()).mkpath("folder.vorn"));
  const TRun run = Run({"render", "-d", Path("out"), "--format", "pdf", Path("label.vorn"), Path("broken.vorn"),
                        Path("missing.vorn"), Path("folder.vorn"), Path("second.vorn"), Path("other/label.vorn")});
  EXPECT_EQ(run.Status, 1);
  const QStringList errors = run.Errors();
  for (const char* name :
       {"broken.vorn", "missing.vorn", "folder.vorn: is a directory", "other/label.vorn: not rendered"})
    EXPECT_EQ(errors.filter(QString::fromLatin1(name)).size(), 1) << name << " in\n" << run.Err.toStdString();
  EXPECT_TRUE(errors.last().contains(QLatin1String("4 of 6 documents failed")));
  EXPECT_EQ(Files("out"), (QStringList{"label.pdf", "second.pdf"}));
  EXPECT_TRUE(vorn::test::ReadFile(Path("out/second.pdf")).startsWith("%PDF"));
}

TEST_F(RenderBatch, WrongCombinationsAreUsageErrors) {
  const QString doc = Path("label.vorn");
  const QStringList cases[] = {
      {"render", doc, Path("label.vorn"), "-o", Path("x.png")},           // two documents, one file
      {"render", doc, "-o", Path("x.png"), "-d", Path("out")},            // both outputs
      {"render", doc, "-d", Path("out"), "--format", "xyz"},              // unknown format
      {"render", doc, "--merge", Path("data.csv"), "-o", Path("x.png")},  // a merge into one image
      {"render", doc, "-d", Path("out"), "--name", "${name}"},            // a name pattern without data
      {"render", doc, "-d", Path("out"), "-j", "0"},
      {"render"},
      {"render", doc},
      {"render", doc, "-o", Path("x.png"), "--dpi", "0"},
      {"render", doc, "-o", Path("x.pdf"), "--zoom", "50"},
      {"render", doc, "-o", Path("x.png"), "--bogus"},
  };
  for (const QStringList& args : cases) EXPECT_EQ(Run(args).Status, 2) << args.join(' ').toStdString();
}
