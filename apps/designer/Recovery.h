#pragma once
// Recovery copies: while a document has unsaved changes, the designer copies it every minute into
// a folder beside the user's data (not beside the document, which may be read-only or gone). A copy
// is removed when its document is saved, closed or discarded, and when the designer ends cleanly;
// a copy that outlives its process was left by a crash, and the next start offers it back.
//
// Each window writes "recovery-PID-N.vorn" with a note "recovery-PID-N.ini" naming the document.

#include <vorn/model/KxDeDocument.h>

#include <QDateTime>
#include <QString>

#include <vector>

namespace vorndesigner {

// A copy left behind by a session that did not end cleanly.
struct TRecoveryCopy {
  QString CopyFile;
  QString Document;  // empty for a document never saved
  QDateTime Time;
};

class TRecovery {
 public:
  // A slot of its own for one window of this process.
  TRecovery();
  ~TRecovery();
  TRecovery(const TRecovery&) = delete;
  TRecovery& operator=(const TRecovery&) = delete;

  // The folder of the copies (under the application's data location).
  static QString Folder();
  // The copies whose process has ended, newest first.
  static std::vector<TRecoveryCopy> Orphans();
  // Removes a copy and its note.
  static void Remove(const QString& CopyFile);

  QString CopyFile() const { return FCopyFile; }
  // Writes the document as this window's copy, naming Document (its file, or empty); false with
  // Error when it cannot be written.
  bool Write(const vorn::TKxDeLayerList& Layers, const vorn::TKxDeDocumentSettings& Settings,
             const QString& Document, QString& Error);
  // No copy any more (the document was saved, closed or discarded).
  void Discard();

 private:
  QString FCopyFile;
};

}  // namespace vorndesigner
