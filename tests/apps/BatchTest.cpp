// Batches in worker processes: every item runs exactly once, failures are counted and reported,
// a worker that dies loses only the item it was working on, and output files appear whole or
// not at all.
#include "Batch.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>

using namespace vorncli;

TEST(Batch, EveryItemRunsOnceAndEveryFailureIsReported) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray log = QFile::encodeName(dir.filePath(QStringLiteral("log")));
  for (int jobs : {1, 3}) {
    const int fd = open(log.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    ASSERT_GE(fd, 0);
    TBatch batch("testing", "items");
    batch.SetJobs(jobs);
    batch.SetItemName([](int64_t I) { return "item " + std::to_string(I); });
    testing::internal::CaptureStderr();
    const int64_t failed = batch.Run(40, {}, [&](int64_t I) {
      // A worker killed in the middle of an item (only when there are workers to lose).
      if (jobs > 1 && I == 7) kill(getpid(), SIGKILL);
      const std::string line = std::to_string(I) + "\n";
      EXPECT_EQ(write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
      return I % 10 == 3 ? "item " + std::to_string(I) + " is bad" : std::string();
    });
    const std::string err = testing::internal::GetCapturedStderr();
    close(fd);
    EXPECT_EQ(failed, jobs > 1 ? 5 : 4) << jobs;
    for (int bad : {3, 13, 23, 33})
      EXPECT_NE(err.find("vorn: item " + std::to_string(bad) + " is bad\n"), std::string::npos) << err;
    if (jobs > 1) {
      EXPECT_NE(err.find("vorn: item 7: not done, a worker process ended by signal 9"), std::string::npos) << err;
    }

    QFile f(QString::fromLocal8Bit(log));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    std::vector<int> done;
    for (const QByteArray& l : f.readAll().split('\n'))
      if (!l.isEmpty()) done.push_back(l.toInt());
    std::sort(done.begin(), done.end());
    std::vector<int> expected;
    for (int i = 0; i < 40; ++i)
      if (jobs == 1 || i != 7) expected.push_back(i);
    EXPECT_EQ(done, expected) << jobs;
  }
}

TEST(Batch, AWorkerThatCannotStartIsReportedOnceAndFailsItsItems) {
  TBatch batch("testing", "items");
  batch.SetJobs(2);
  int worked = 0;
  testing::internal::CaptureStderr();
  const int64_t failed = batch.Run(
      5, [] { return std::string("no fonts"); },
      [&](int64_t) {
        ++worked;
        return std::string();
      });
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(failed, 5);
  EXPECT_EQ(worked, 0);
  EXPECT_EQ(err, "vorn: no fonts\n");
}

TEST(OutputFile, AppearsOnlyWhenCommitted) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string name = QFile::encodeName(dir.filePath(QStringLiteral("out.txt"))).toStdString();
  auto entries = [&] { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); };
  std::string error;
  {
    TOutputFile out(name);
    ASSERT_TRUE(out.Create(error) && out.Write("half", 4, error)) << error;
    EXPECT_EQ(entries().size(), 1);
  }
  EXPECT_TRUE(entries().isEmpty());  // dropped without a commit
  {
    TOutputFile out(name);
    ASSERT_TRUE(out.Create(error) && out.Write("whole", 5, error) && out.Commit(error)) << error;
  }
  EXPECT_EQ(entries(), QStringList{QStringLiteral("out.txt")});
  // A directory in the way: the commit fails and the temporary file goes.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken")));
  TOutputFile out(name.substr(0, name.size() - 7) + "taken");
  ASSERT_TRUE(out.Create(error) && out.Write("x", 1, error));
  EXPECT_FALSE(out.Commit(error));
  EXPECT_NE(error.find("taken: Is a directory"), std::string::npos) << error;
  EXPECT_EQ(entries(), (QStringList{QStringLiteral("out.txt"), QStringLiteral("taken")}));
}
