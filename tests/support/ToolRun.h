#pragma once
// Runs the built `vorn` command line in a test, offscreen, and collects what it printed.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace vorn::test {

struct TToolRun {
  int Status = -1;  // -1 when the tool crashed or did not finish in time
  QByteArray Out;
  QByteArray Err;
  // The tool's own lines on the error output (Qt may add notes about the environment).
  QStringList Errors() const {
    QStringList lines;
    for (const QString& l : QString::fromUtf8(Err).split(QLatin1Char('\n')))
      if (l.startsWith(QLatin1String("vorn"))) lines << l;
    return lines;
  }
};

// Where the build put the tool (VORN_BINARY_DIR comes from the test target).
inline QString VornTool() { return QStringLiteral(VORN_BINARY_DIR "/bin/vorn"); }

inline TToolRun RunVornTool(const QStringList& Args) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  process.setProcessEnvironment(env);
  process.start(VornTool(), Args);
  TToolRun run;
  if (!process.waitForFinished(120000)) return run;
  run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.Out = process.readAllStandardOutput();
  run.Err = process.readAllStandardError();
  return run;
}

// A test of the tool: skipped where the tool is not built, with a scratch folder for its files.
// Fixtures with a SetUp of their own call this one first and stop when IsSkipped().
class TToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFileInfo::exists(VornTool())) GTEST_SKIP() << "the vorn tool is not built";
    ASSERT_TRUE(Dir.isValid());
  }
  QString Path(const QString& Name) const { return Dir.filePath(Name); }
  static TToolRun Run(const QStringList& Args) { return RunVornTool(Args); }
  QTemporaryDir Dir;
};

}  // namespace vorn::test
