#include "DemoScript.h"

#include "MainWindow.h"

#include <vorn/common/Units.h>
#include <vorn/editor/KxDeEditor.h>
#include <vorn/editor/KxDeEditorActions.h>
#include <vorn/inspector/mekInspector.h>
#include <vorn/model/KxDeLayer.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPointingDevice>

namespace vorndesigner {
namespace {

// The first shape named Name at any depth of the editor's layers.
vorn::TKxDeShapeBase* FindShape(const vorn::TKxDeEditor* E, const QString& Name) {
  for (vorn::TKxDeLayer* layer : E->LayersList())
    for (vorn::TKxDeShapeBase* s : layer->AllShapes())
      if (s->Name() == Name) return s;
  return nullptr;
}

QPoint Centre(const vorn::TKxDeEditor* E, const vorn::TKxDeShapeBase* S) {
  const vorn::TRectF b = S->GetBounds();
  const vorn::TPointF p = E->LayerToScreen(vorn::TPointF{(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2});
  return QPoint(qRound(p.X), qRound(p.Y));
}

// A press at From, moves on the way and a release at To, as the mouse sends them.
void Drag(QWidget* W, QPoint From, QPoint To) {
  auto send = [W](QEvent::Type Type, QPoint At, Qt::MouseButtons Buttons) {
    const QPointF global = W->mapToGlobal(QPointF(At));
    QMouseEvent e(Type, QPointF(At), global, Qt::LeftButton, Buttons, Qt::NoModifier);
    QApplication::sendEvent(W, &e);
    QApplication::processEvents();
  };
  send(QEvent::MouseMove, From, Qt::NoButton);
  send(QEvent::MouseButtonPress, From, Qt::LeftButton);
  for (int i = 1; i <= 4; ++i) send(QEvent::MouseMove, From + (To - From) * i / 4, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, To, Qt::NoButton);
}

}  // namespace

int RunDemoScript(TMainWindow& Window, const QString& Label, const QString& OutDir, QTextStream& Out) {
  // The demonstration answers every question itself.
  Window.Prompts.AskSave = [](const QString&) { return QMessageBox::Discard; };
  Window.Prompts.ShowError = [&Out](const QString& Title, const QString& Text) { Out << Title << ": " << Text << "\n"; };
  const QDir out(OutDir);
  if (!out.mkpath(QStringLiteral("."))) {
    Out << "demo: " << OutDir << " cannot be made\n";
    return 1;
  }
  int step = 0;
  QStringList written;
  auto shot = [&](const char* Name) {
    QApplication::processEvents();
    const QString f = out.filePath(QStringLiteral("designer-%1-%2.png").arg(++step).arg(QLatin1String(Name)));
    if (Window.grab().save(f)) written << f;
  };
  auto fail = [&Out](const QString& Why) {
    Out << "demo: " << Why << "\n";
    Out.flush();
    return 1;
  };

  Window.resize(1280, 860);
  Window.show();
  QString error;
  if (!Window.LoadDocument(Label, error)) return fail(error);
  QApplication::processEvents();
  vorn::TKxDeEditor* e = Window.Editor();
  e->ZoomToPage();
  shot("opened");
  Out << "Opened " << Label << " in Vorn Designer\n";

  vorn::TKxDeShapeBase* barcode = FindShape(e, QStringLiteral("Tracking barcode"));
  if (!barcode) return fail(QStringLiteral("the label has no shape named \"Tracking barcode\""));
  const vorn::TRectF before = barcode->GetBounds();
  // Free positions for a small move: the grid snap goes off as a user switches it off.
  if (QAction* snap = Window.Action(QStringLiteral("viewSnap")); snap->isChecked()) snap->trigger();
  const QPoint from = Centre(e, barcode);
  Drag(e, from, from + QPoint(0, qRound(1.5 * vorn::CoordsPixelsPerMMConvertValue * e->GetZoom())));
  if (e->SelectionCount() != 1 || e->GetSelection(0) != barcode || barcode->GetBounds().Top == before.Top)
    return fail(QStringLiteral("the barcode was not selected and moved by the mouse"));
  shot("barcode-moved");
  Out << "Selected the tracking barcode and moved it 1.5 mm down with the mouse\n";

  vorn::TKxDeShapeBase* sender = FindShape(e, QStringLiteral("Sender"));
  if (!sender) return fail(QStringLiteral("the label has no text named \"Sender\""));
  e->Select(sender);
  const QString oldText = sender->Text();
  vorn::TmekInspector* inspector = Window.Inspector();
  const QModelIndex row = inspector->FindNode(QStringLiteral("Text/Text"));
  if (!row.isValid()) return fail(QStringLiteral("the inspector shows no Text property"));
  inspector->setCurrentIndex(row);
  inspector->SetText(row, 2, QStringLiteral("Vorn Designer Demo\nSample Street 1\n12345 Example City"));
  if (sender->Text() == oldText) return fail(QStringLiteral("the inspector did not change the text"));
  shot("text-changed");
  Out << "Changed the sender's text in the inspector\n";

  Window.Action(QStringLiteral("editUndo"))->trigger();
  if (sender->Text() != oldText) return fail(QStringLiteral("undo did not bring the text back"));
  shot("undone");
  Out << "Undid the text change (Edit > Undo); the barcode stays moved\n";

  const QString png = out.filePath(QStringLiteral("designer-label.png"));
  const QString pdf = out.filePath(QStringLiteral("designer-label.pdf"));
  const QString copy = out.filePath(QStringLiteral("designer-label-copy.vorn"));
  if (!Window.Export(png, 300, error) || !Window.Export(pdf, 1200, error) || !Window.SaveCopy(copy, error))
    return fail(error);
  written << png << pdf << copy;
  Out << "Exported the label as PNG (300 dpi) and PDF and saved a copy of the document\n\n";
  Out << "The designer's files:\n";
  for (const QString& f : written) Out << "  " << QDir::toNativeSeparators(f) << "\n";
  Out.flush();
  // The demonstration leaves nothing to save or to recover.
  Window.Prompts.AskSave = [](const QString&) { return QMessageBox::Discard; };
  Window.close();
  return 0;
}

}  // namespace vorndesigner
