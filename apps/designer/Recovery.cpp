#include "Recovery.h"

#include <vorn/common/Exceptions.h>

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include <unistd.h>

namespace vorndesigner {
namespace {

QAtomicInt gNextSlot;

QString NoteOf(const QString& CopyFile) {
  return CopyFile.left(CopyFile.size() - int(sizeof("vorn") - 1)) + QStringLiteral("ini");
}

bool ProcessAlive(qint64 Pid) {
  if (Pid <= 0) return false;
  if (Pid == QCoreApplication::applicationPid()) return true;
  // Signal 0 only asks whether the process exists; EPERM means it does, owned by someone else.
  return ::kill(static_cast<pid_t>(Pid), 0) == 0 || errno == EPERM;
}

}  // namespace

TRecovery::TRecovery() {
  FCopyFile = QDir(Folder()).filePath(
      QStringLiteral("recovery-%1-%2.vorn").arg(QCoreApplication::applicationPid()).arg(gNextSlot.fetchAndAddRelaxed(1)));
}

TRecovery::~TRecovery() { Discard(); }

QString TRecovery::Folder() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("recovery"));
}

std::vector<TRecoveryCopy> TRecovery::Orphans() {
  static const QRegularExpression name(QStringLiteral("^recovery-(\\d+)-\\d+\\.vorn$"));
  std::vector<TRecoveryCopy> out;
  const QDir dir(Folder());
  for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("recovery-*.vorn")}, QDir::Files)) {
    const QRegularExpressionMatch m = name.match(f.fileName());
    if (!m.hasMatch() || ProcessAlive(m.captured(1).toLongLong())) continue;
    const QSettings note(NoteOf(f.filePath()), QSettings::IniFormat);
    out.push_back({f.filePath(), note.value(QStringLiteral("document")).toString(), f.lastModified()});
  }
  std::sort(out.begin(), out.end(), [](const TRecoveryCopy& A, const TRecoveryCopy& B) { return A.Time > B.Time; });
  return out;
}

void TRecovery::Remove(const QString& CopyFile) {
  QFile::remove(CopyFile);
  QFile::remove(NoteOf(CopyFile));
}

bool TRecovery::Write(const vorn::TKxDeLayerList& Layers, const vorn::TKxDeDocumentSettings& Settings,
                      const QString& Document, QString& Error) {
  if (!QDir().mkpath(Folder())) {
    Error = QObject::tr("%1: the folder cannot be made").arg(Folder());
    return false;
  }
  try {
    vorn::TKxDeDocumentFile::SaveLayersToFile(FCopyFile, Layers, Settings);
  } catch (const vorn::Exception& e) {
    Error = e.Message().simplified();
    return false;
  }
  QSettings note(NoteOf(FCopyFile), QSettings::IniFormat);
  note.setValue(QStringLiteral("document"), Document);
  note.sync();
  return true;
}

void TRecovery::Discard() { Remove(FCopyFile); }

}  // namespace vorndesigner
