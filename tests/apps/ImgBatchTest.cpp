// `vorn img` batches checked against netpbm: every IMG file a batch writes comes out of gemtopnm as
// the picture that went in, every file a batch decodes is what pngtopnm gives for the same
// picture, and bad files inside a batch are reported and skipped without leaving anything behind.
#include "raster/RasterTestUtil.h"
#include "support/ToolRun.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

using namespace rastertest;

using vorn::test::ReadFile;
using vorn::test::WriteFile;

namespace {

// A netpbm tool's standard output for one file.
QByteArray Netpbm(const char* Tool, const QString& Input) {
  QProcess p;
  p.start(QStandardPaths::findExecutable(QString::fromLatin1(Tool)), {Input});
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    ADD_FAILURE() << Tool << " " << Input.toStdString() << ": " << p.readAllStandardError().toStdString();
    return {};
  }
  return p.readAllStandardOutput();
}

// A picture as netpbm writes it: "P4\nW H\n", rows with the bits after the last pixel clear.
QByteArray CanonicalPbm(const QImage& Mono) {
  QByteArray out = "P4\n" + QByteArray::number(Mono.width()) + ' ' + QByteArray::number(Mono.height()) + '\n';
  const int bytes = (Mono.width() + 7) / 8;
  const int padding = 8 * bytes - Mono.width();
  for (int y = 0; y < Mono.height(); ++y) {
    QByteArray row(reinterpret_cast<const char*>(Mono.constScanLine(y)), bytes);
    for (char& c : row) c = static_cast<char>(~c);  // black is index 0 in memory, 1 in the file
    row[bytes - 1] = static_cast<char>(row[bytes - 1] & ~((1 << padding) - 1));
    out += row;
  }
  return out;
}

// The same picture in the other forms an encoder meets.
QByteArray PlainPbm(const QImage& Mono) {
  QByteArray out = "P1\n# written by a test\n" + QByteArray::number(Mono.width()) + " # width\n" +
                   QByteArray::number(Mono.height()) + '\n';
  for (int y = 0; y < Mono.height(); ++y) {
    for (int x = 0; x < Mono.width(); ++x) out += qGray(Mono.pixel(x, y)) < 128 ? "1" : "0";
    out += '\n';
  }
  return out;
}

QByteArray BilevelPgm(const QImage& Mono, bool Wide) {
  QByteArray out =
      "P5 " + QByteArray::number(Mono.width()) + ' ' + QByteArray::number(Mono.height()) + (Wide ? " 65535\n" : " 1\n");
  for (int y = 0; y < Mono.height(); ++y)
    for (int x = 0; x < Mono.width(); ++x) {
      const bool white = qGray(Mono.pixel(x, y)) >= 128;
      if (Wide) out += white ? "\xFF\xFF" : QByteArray(2, '\0');
      else out += white ? '\1' : '\0';
    }
  return out;
}

class ImgBatch : public vorn::test::TToolTest {
 protected:
  void SetUp() override {
    TToolTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    for (const char* tool : {"pbmtogem", "gemtopnm", "pnmtopng", "pngtopnm"})
      if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
        GTEST_SKIP() << tool << " is not installed";
    // Widths around the byte boundaries, a page-like picture, all black and all white.
    for (int w : {1, 7, 8, 9, 333}) Pictures.push_back(PatternImage(w, 41, 500 + w));
    Pictures.push_back(PatternImage(1200, 300, 77));
    QImage black = MonoImage(77, 60);
    black.fill(0);
    Pictures.push_back(black);
    // pbmtogem writes a white run of more than 127 bytes modulo 128 (gemtopnm then refuses the
    // file), so the white picture stays below 1016 pixels.
    Pictures.push_back(MonoImage(1000, 3));
    for (size_t i = 0; i < Pictures.size(); ++i) Names << QStringLiteral("pic%1").arg(i);
  }

  QStringList Paths(const QString& Sub, const QString& Suffix) const {
    QStringList list;
    for (const QString& n : Names) list << Path(Sub + QLatin1Char('/') + n + Suffix);
    return list;
  }
  std::vector<QImage> Pictures;
  QStringList Names;
};

}  // namespace

TEST_F(ImgBatch, EveryEncodedFileDecodesIdenticallyThroughGemtopnm) {
  // The same pictures as raw and plain PBM, bilevel PGM (8 and 16 bits) and PNG: each form goes
  // through its own reader, and all must give the picture netpbm expects.
  struct TForm {
    const char* Sub;
    const char* Suffix;
    std::function<QByteArray(const QImage&)> Bytes;
  };
  const TForm forms[] = {
      {"raw", ".pbm", CanonicalPbm},
      {"plain", ".pbm", PlainPbm},
      {"grey", ".pgm", [](const QImage& I) { return BilevelPgm(I, false); }},
      {"wide", ".pgm", [](const QImage& I) { return BilevelPgm(I, true); }},
      {"png", ".png",
       [](const QImage& I) {
         QByteArray png;
         QBuffer b(&png);
         I.save(&b, "PNG");
         return png;
       }},
  };
  for (const TForm& form : forms) {
    const QString sub = QString::fromLatin1(form.Sub);
    ASSERT_TRUE(QDir(Dir.path()).mkpath(sub));
    for (size_t i = 0; i < Pictures.size(); ++i)
      WriteFile(Paths(sub, QString::fromLatin1(form.Suffix))[i], form.Bytes(Pictures[i]));
    const vorn::test::TToolRun run =
        Run(QStringList{"img", "encode", "-d", Path("out-" + sub)} + Paths(sub, QString::fromLatin1(form.Suffix)));
    ASSERT_EQ(run.Status, 0) << form.Sub << ": " << run.Err.toStdString();
    const QStringList outputs = Paths("out-" + sub, ".img");
    for (size_t i = 0; i < Pictures.size(); ++i)
      EXPECT_EQ(Netpbm("gemtopnm", outputs[i]), CanonicalPbm(Pictures[i])) << form.Sub << " " << Names[i].toStdString();
  }
}

TEST_F(ImgBatch, EveryDecodedFileMatchesPngtopnmOfThePicture) {
  // The reference is netpbm's own round trip of the picture through PNG. The IMG files come from
  // pbmtogem and from our encoder, which codes the bits after a row's last pixel differently.
  ASSERT_TRUE(QDir(Dir.path()).mkpath("in") && QDir(Dir.path()).mkpath("gem") && QDir(Dir.path()).mkpath("ours"));
  std::vector<QByteArray> expected;
  for (size_t i = 0; i < Pictures.size(); ++i) {
    const QString pbm = Paths("in", ".pbm")[i];
    WriteFile(pbm, CanonicalPbm(Pictures[i]));
    WriteFile(Paths("gem", ".img")[i], Netpbm("pbmtogem", pbm));
    WriteFile(Paths("ours", ".img")[i], vorn::IMGEncodeBytes(Pictures[i]));
    WriteFile(Paths("in", ".png")[i], Netpbm("pnmtopng", pbm));
    expected.push_back(Netpbm("pngtopnm", Paths("in", ".png")[i]));
  }
  for (const QString source : {"gem", "ours"}) {
    for (const QString format : {"pbm", "pgm", "png"}) {
      const vorn::test::TToolRun run = Run(
          QStringList{"img", "decode", "-d", Path(source + "-" + format), "--format", format} + Paths(source, ".img"));
      ASSERT_EQ(run.Status, 0) << format.toStdString() << ": " << run.Err.toStdString();
    }
    for (size_t i = 0; i < Pictures.size(); ++i) {
      const std::string name = (source + " " + Names[i]).toStdString();
      EXPECT_EQ(ReadFile(Paths(source + "-pbm", ".pbm")[i]), expected[i]) << name;
      // A grey map of the same picture is what pngtopnm gives for the PNG we write.
      EXPECT_EQ(ReadFile(Paths(source + "-pgm", ".pgm")[i]), Netpbm("pngtopnm", Paths(source + "-png", ".png")[i]))
          << name;
    }
  }
}

TEST_F(ImgBatch, BadFilesAreReportedAndSkippedWithoutLeftovers) {
  ASSERT_TRUE(QDir(Dir.path()).mkpath("in"));
  const QByteArray good = vorn::IMGEncodeBytes(Pictures[5]);
  WriteFile(Path("in/good1.img"), good);
  WriteFile(Path("in/good2.img"), good);
  WriteFile(Path("in/cut.img"), good.left(good.size() / 2));
  WriteFile(Path("in/header.img"), good.left(10));
  WriteFile(Path("in/clash.img"), good);
  ASSERT_TRUE(QDir(Dir.path()).mkpath("in/dir.img"));
  ASSERT_EQ(mkfifo(QFile::encodeName(Path("in/fifo.img")).constData(), 0644), 0);
  ASSERT_EQ(symlink("missing.img", QFile::encodeName(Path("in/dangling.img")).constData()), 0);
  // The output of clash.img is taken by a directory.
  ASSERT_TRUE(QDir(Dir.path()).mkpath("out/clash.pbm"));
  const QStringList bad = {"cut", "header", "dir", "fifo", "dangling", "clash"};
  QStringList inputs = {Path("in/good1.img")};
  for (const QString& b : bad) inputs << Path("in/" + b + ".img");
  inputs << Path("in/good2.img");

  for (const char* jobs : {"1", "3"}) {
    const vorn::test::TToolRun run = Run(QStringList{"img", "decode", "-j", jobs, "-d", Path("out")} + inputs);
    EXPECT_EQ(run.Status, 1) << jobs;
    const QString err = QString::fromLocal8Bit(run.Err);
    for (const QString& b : bad)
      EXPECT_EQ(err.count(b + ".img:"), 1) << b.toStdString() << " in\n" << err.toStdString();
    EXPECT_TRUE(err.contains("6 of 8 files failed")) << err.toStdString();
    // The good files are there and complete; nothing else is, not even a hidden temporary file.
    const QStringList left =
        QDir(Path("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    EXPECT_EQ(left, (QStringList{"clash.pbm", "good1.pbm", "good2.pbm"})) << jobs;
    EXPECT_EQ(ReadFile(Path("out/good2.pbm")), CanonicalPbm(Pictures[5]));
    QDir(Path("out")).remove("good1.pbm");
  }

  // Damaged netpbm files and an unreadable input on the way in.
  WriteFile(Path("in/short.pbm"), CanonicalPbm(Pictures[5]).chopped(1));
  WriteFile(Path("in/plain.pbm"), "P1 3 1\n1 2 0\n");
  WriteFile(Path("in/zero.pbm"), "P4 0 5\n");
  const vorn::test::TToolRun run = Run({"img", "encode", "-d", Path("enc"), Path("in/short.pbm"), Path("in/plain.pbm"),
                                        Path("in/zero.pbm"), Path("in/fifo.img"), Path("in/good1.img")});
  EXPECT_EQ(run.Status, 1);
  for (const char* message : {"short.pbm: the pixel data ends early", "plain.pbm: a plain PBM pixel is not 0 or 1",
                              "zero.pbm: the picture has no pixels", "fifo.img: not a regular file"})
    EXPECT_TRUE(run.Err.contains(message)) << message << " in\n" << run.Err.toStdString();
  EXPECT_EQ(QDir(Path("enc")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
}
