#pragma once
// The window of `vorn edit`: an editor on one document file. Ctrl+S writes the document back to
// its file (the old file stays when writing fails); the title marks unsaved changes, and closing
// with unsaved changes asks first.

#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeSurfaceClient.h>

#include <QMainWindow>
#include <QString>

class QAction;

namespace vorn {
class TKxDeEditor;
}

namespace vorncli {

class TEditWindow : public QMainWindow {
 public:
  TEditWindow();
  ~TEditWindow() override;

  // Reads FileName into the editor; false with Error (one line) when it cannot be read, leaving
  // the editor as it was.
  bool Open(const QString& FileName, QString& Error);
  // Writes the document to its file; false with Error (one line).
  bool Save(QString& Error);

  vorn::TKxDeEditor* Editor() const { return FEditor; }
  QAction* SaveAction() const { return FSaveAction; }
  // Changed since it was read or last saved.
  bool Modified() const { return isWindowModified(); }

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  // Save, telling the user when it failed; false then.
  bool SaveWithMessage();
  void ShowSelection();

  vorn::TKxDeEditor* FEditor;
  QAction* FSaveAction;
  // Marks the window modified on every change of the document.
  vorn::TOwned<vorn::TKxDeSurfaceClient> FWatcher;
  QString FFileName;
  vorn::TKxDeDocumentSettings FSettings;
};

}  // namespace vorncli
