#pragma once
// TMainWindow: Vorn Designer's window on one document. The editor fills the centre with its rulers;
// docks hold the toolbox of shape classes, the layer manager and the object inspector; menus and
// toolbars carry the file, edit, view and layer commands; the status bar shows the pointer in the
// rulers' unit, the zoom and the selection. Documents are read and written whole: a file that
// cannot be read leaves the open document as it was, and a save writes a new file before it
// replaces the old one. Every 60 seconds a modified document is copied to a recovery file that
// the next start offers back when this session did not end cleanly.
//
// Construction and docks are in MainWindow.cpp, menus and commands in MainWindowMenus.cpp,
// documents, export and drops in MainWindowDocument.cpp.

#include <vorn/common/Records.h>
#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeSurfaceClient.h>

#include <QDateTime>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QUrl;

namespace vorn {
class TKxDeEditor;
class TKxDeEditorActions;
class TKxDeLayerManager;
class TmekInspector;
}  // namespace vorn

namespace vorndesigner {

class TRecovery;
class TToolbox;

// What the window asks the user. Each question has a dialog by default; scripts and tests answer
// it themselves by replacing the function.
struct TPrompts {
  // Unsaved changes to Document: QMessageBox::Save, Discard or Cancel.
  std::function<QMessageBox::StandardButton(const QString& Document)> AskSave;
  // A file to open (Saving false) or to write; empty when the user cancelled.
  std::function<QString(const QString& Caption, const QString& Filter, bool Saving)> AskFileName;
  // A resolution for an export in dots per inch; 0 when the user cancelled.
  std::function<int(const QString& Format, int Suggested)> AskDpi;
  // Something failed; Text says what in a sentence.
  std::function<void(const QString& Title, const QString& Text)> ShowError;
  // A recovery copy of Document (empty: an unsaved one) written at Time: restore it?
  std::function<bool(const QString& Document, const QDateTime& Time)> AskRestore;
};

class TMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainWindow(QWidget* Parent = nullptr);
  ~TMainWindow() override;

  TPrompts Prompts;
  // Opening, saving or exporting this many shapes or more shows a progress dialog; below, the
  // work is quick enough to show none.
  int64_t ProgressFrom = 20000;

  // ---- Documents (MainWindowDocument.cpp) ----------------------------------------------------
  // An empty document: one layer on a 100 x 150 mm page.
  void NewDocument();
  // Reads FileName in place of the document; false with Error (one line) when it cannot be read,
  // the document then untouched. Large documents show a progress dialog.
  bool LoadDocument(const QString& FileName, QString& Error);
  // Writes the document to FileName, which becomes its file; false with Error (the old file stays).
  bool SaveDocument(const QString& FileName, QString& Error);
  // Writes the document to FileName and leaves its file and modified state alone.
  bool SaveCopy(const QString& FileName, QString& Error) const;
  // Writes the page as a picture (png, jpg, bmp: at Dpi), a PDF or an SVG file, by the suffix.
  bool Export(const QString& FileName, int Dpi, QString& Error);
  // The commands behind the menu, asking and telling through Prompts.
  bool Open(const QString& FileName);
  bool OpenWithDialog();
  bool Save();
  bool SaveAs();
  bool ExportWithDialog(const QString& Format);
  bool CloseDocument();
  // Asks about unsaved changes; true when the caller may go on (saved, discarded or nothing to
  // save).
  bool MaybeSave();
  // Offers the recovery copies left by sessions that ended without cleaning up; true when one
  // was restored into this window.
  bool OfferRecovery();
  // Writes the recovery copy now, as the autosave timer does.
  bool Autosave();
  TRecovery* Recovery() const { return FRecovery.get(); }
  QTimer* AutosaveTimer() { return &FAutosave; }

  QString FileName() const { return FFileName; }
  bool Modified() const { return isWindowModified(); }
  QStringList RecentFiles() const { return FRecent; }
  // Files and images (dropped or given): .vorn files open, pictures become picture shapes at
  // window point At of the editor (its centre when none).
  void DropFiles(const QList<QUrl>& Urls, const QPoint* At);

  // ---- Parts -----------------------------------------------------------------------------------
  vorn::TKxDeEditor* Editor() const { return FEditor; }
  vorn::TKxDeEditorActions* EditorActions() const { return FActions; }
  vorn::TKxDeLayerManager* LayerManager() const { return FLayerManager; }
  vorn::TmekInspector* Inspector() const { return FInspector; }
  TToolbox* Toolbox() const { return FToolbox; }
  // The window's actions by object name ("fileSave", "editUndo", "viewGrid", ...).
  QAction* Action(const QString& Name) const;
  // The status bar's fields.
  QString PointerText() const;
  QString ZoomText() const;
  QString SelectionText() const;

 protected:
  void closeEvent(QCloseEvent* Event) override;
  // Box shapes are drawn by dragging: the release finishes the shape (a click without a drag
  // still starts one that the next click finishes).
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void dragEnterEvent(QDragEnterEvent* Event) override;
  void dropEvent(QDropEvent* Event) override;

 private:
  // ---- MainWindow.cpp ----
  void CreateDocks();
  void CreateStatusBar();
  void ReadSettings();
  void WriteSettings() const;
  void SelectionChanged();
  void ShowPointer(const vorn::TPointF& World);
  void ShowZoom();
  void UpdateTitle();
  // ---- MainWindowMenus.cpp ----
  void CreateMenus();
  QAction* Add(QMenu* Menu, const char* Name, const QString& Text, const QKeySequence& Key,
               std::function<void()> Command);
  // The editor's own action placed in a menu under a name.
  void Place(QMenu* Menu, const char* Name, QAction* A);
  void UpdateRecentMenu();
  void UpdateLayerActions();
  void UpdateClipboardActions();
  void UpdateViewActions();
  void SetRulerUnit(int Mode);
  void NewLayer();
  void DeleteLayer();
  void RenameLayer();
  // ---- MainWindowDocument.cpp ----
  // Puts freshly read layers into the editor (the editor owns them afterwards).
  void AdoptLayers(vorn::TKxDeLayerList& Layers, const vorn::TKxDeDocumentSettings& Settings);
  vorn::TKxDeDocumentSettings CurrentSettings() const;
  void SetFileName(const QString& FileName);
  // False: the document is as its file from now on. True: it changed in a way that undo does not
  // take back, so only a save makes it unmodified again.
  void SetModified(bool Value);
  // The modified marker: set unless the editor's history stands where it stood at the last save.
  void UpdateModified();
  void AddRecentFile(const QString& FileName);
  void WatchDocument();

  vorn::TKxDeEditor* FEditor = nullptr;
  vorn::TKxDeEditorActions* FActions = nullptr;
  vorn::TKxDeLayerManager* FLayerManager = nullptr;
  vorn::TmekInspector* FInspector = nullptr;
  TToolbox* FToolbox = nullptr;
  QMenu* FRecentMenu = nullptr;
  QMenu* FViewMenu = nullptr;
  QLabel* FPointerLabel = nullptr;
  QLabel* FZoomLabel = nullptr;
  QLabel* FSelectionLabel = nullptr;
  QString FFileName;
  QStringList FRecent;
  vorn::TKxDeDocumentSettings FSettings;
  // Watches the document for changes (the modified marker) and the view (zoom, active layer).
  vorn::TOwned<vorn::TKxDeSurfaceClient> FWatcher;
  // Document changes made by the window itself (loading, clearing) are not the user's.
  int FQuiet = 0;
  uint64_t FSavedPosition = 0;
  bool FChangedOffHistory = false;
  QPoint FPressAt;
  QTimer FAutosave;
  std::unique_ptr<TRecovery> FRecovery;
};

}  // namespace vorndesigner
