// Vorn Designer's main window driven as a user drives it: toolbox, mouse, inspector, menu actions,
// files, the prompt about unsaved changes, and the recovery copy after a crash.

#include "MainWindow.h"
#include "PrintSupport.h"
#include "Recovery.h"
#include "Toolbox.h"
#include "support/TestSupport.h"

#include <vorn/shapes/VornShapes.h>

#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <csignal>

namespace vorn::test {
namespace {

using vorndesigner::TMainWindow;
using vorndesigner::TPrintCalibration;

const char* const kSample = VORN_SOURCE_DIR "/samples/shipping-label.vorn";

// Answers the modal dialog that Trigger opens with Answer, which closes it (a dialog left open
// is closed, so that a failure does not hang the test).
void AnswerDialog(QAction* Trigger, const std::function<void(QDialog*)>& Answer) {
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* d = qobject_cast<QDialog*>(modal)) Answer(d);
    if (modal && modal->isVisible()) modal->close();
  });
  Trigger->trigger();
}

class Designer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    // Settings and recovery copies stay in the test's folder (a child process uses its parent's).
    QString home = qEnvironmentVariable("VORN_DESIGNER_TEST_HOME");
    if (home.isEmpty()) home = Dir.path();
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/data")).toUtf8());
    QApplication::setApplicationName(QStringLiteral("Vorn Designer Test"));
  }
  // A shown window whose questions are answered by the test.
  std::unique_ptr<TMainWindow> Window() {
    auto w = std::make_unique<TMainWindow>();
    w->Prompts.AskSave = [this](const QString&) { return SaveAnswer; };
    w->Prompts.AskFileName = [this](const QString&, const QString&, bool) { return FileAnswer; };
    w->Prompts.ShowError = [this](const QString&, const QString& Text) { Errors << Text; };
    w->resize(1200, 850);
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
  }
  static QPoint At(TKxDeEditor* E, float X, float Y) {
    const TPointF p = E->LayerToScreen(TPointF{X, Y});
    return QPoint(qRound(p.X), qRound(p.Y));
  }
  static void Drag(TKxDeEditor* E, QPoint From, QPoint To) {
    QTest::mouseMove(E, From);
    QTest::mousePress(E, Qt::LeftButton, {}, From);
    QTest::mouseMove(E, (From + To) / 2);
    QTest::mouseMove(E, To);
    QTest::mouseRelease(E, Qt::LeftButton, {}, To);
  }
  static std::vector<TKxDeShapeBase*> Shapes(TKxDeEditor* E) {
    std::vector<TKxDeShapeBase*> out;
    for (TKxDeLayer* l : E->LayersList()) out.insert(out.end(), l->begin(), l->end());
    return out;
  }
  QString Path(const char* Name) const { return Dir.filePath(QLatin1String(Name)); }

  QTemporaryDir Dir;
  QMessageBox::StandardButton SaveAnswer = QMessageBox::Cancel;
  QString FileAnswer;
  QStringList Errors;
};

TEST_F(Designer, DrawEditMoveUndoRedoCopyPasteSaveAndReopen) {
  auto w = Window();
  TKxDeEditor* e = w->Editor();
  EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("Untitled")));
  w->Action(QStringLiteral("viewZoom100"))->trigger();
  // Free positions: the grid snap (on by default) goes off through the View menu.
  QAction* snap = w->Action(QStringLiteral("viewSnap"));
  ASSERT_TRUE(snap->isChecked());
  snap->trigger();
  EXPECT_FALSE(e->EditOptions().Contains(TKxDeEditOption::kxdoSnapToGrid));

  // A rectangle and a text drawn with the toolbox.
  w->Toolbox()->Button(QStringLiteral("TVornRectangle"))->click();
  Drag(e, At(e, 20, 20), At(e, 120, 80));
  w->Toolbox()->Button(QStringLiteral("TVornText"))->click();
  Drag(e, At(e, 20, 120), At(e, 300, 170));
  w->Toolbox()->Button(QString())->click();
  EXPECT_EQ(e->NewShapeClass(), nullptr);
  std::vector<TKxDeShapeBase*> shapes = Shapes(e);
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[0]->ClassName(), QStringLiteral("TVornRectangle"));
  EXPECT_EQ(shapes[1]->ClassName(), QStringLiteral("TVornText"));
  EXPECT_TRUE(w->Modified());
  EXPECT_EQ(w->SelectionText(), QStringLiteral("1 shape selected"));

  // The new text is selected, so the inspector shows it: type into its Text row.
  TKxDeShapeBase* text = shapes[1];
  TmekInspector* inspector = w->Inspector();
  const QModelIndex row = inspector->FindNode(QStringLiteral("Text/Text"));
  ASSERT_TRUE(row.isValid());
  ASSERT_TRUE(inspector->EditNode(row, 2));
  QWidget* field = QApplication::focusWidget();
  ASSERT_NE(field, nullptr);
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, QStringLiteral("Parcel 42"));
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(text->Text(), QStringLiteral("Parcel 42"));

  // The rectangle moved with the mouse; the status bar follows the pointer in the rulers' unit.
  TKxDeShapeBase* box = shapes[0];
  const TRectF drawn = box->GetBounds();
  EXPECT_NEAR(drawn.Left, 20, 1);
  EXPECT_NEAR(drawn.Bottom, 80, 1);
  Drag(e, At(e, 70, 30), At(e, 110, 70));
  const TRectF moved = box->GetBounds();
  EXPECT_NEAR(moved.Left - drawn.Left, 40, 1);
  EXPECT_NEAR(moved.Top - drawn.Top, 40, 1);
  EXPECT_TRUE(w->PointerText().contains(QStringLiteral(" cm"))) << w->PointerText().toStdString();
  w->Action(QStringLiteral("viewUnitInch"))->trigger();
  QTest::mouseMove(e, At(e, 96, 48));
  // 96 world units are an inch; the page may lie half a pixel off the pointer's grid.
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^X (0\\.99|1\\.0[01]) in  Y 0\\.(49|50|51) in$"))
                  .match(w->PointerText())
                  .hasMatch())
      << w->PointerText().toStdString();

  // Undo and redo through the menu's actions: the move, then the text.
  w->Action(QStringLiteral("editUndo"))->trigger();
  EXPECT_EQ(box->GetBounds(), drawn);
  w->Action(QStringLiteral("editUndo"))->trigger();
  EXPECT_NE(text->Text(), QStringLiteral("Parcel 42"));
  w->Action(QStringLiteral("editRedo"))->trigger();
  w->Action(QStringLiteral("editRedo"))->trigger();
  EXPECT_EQ(text->Text(), QStringLiteral("Parcel 42"));
  EXPECT_EQ(box->GetBounds(), moved);

  // Copy and paste the rectangle: a third shape, selected, beside the first.
  e->Select(box);
  w->Action(QStringLiteral("editCopy"))->trigger();
  ASSERT_TRUE(w->Action(QStringLiteral("editPaste"))->isEnabled());
  w->Action(QStringLiteral("editPaste"))->trigger();
  shapes = Shapes(e);
  ASSERT_EQ(shapes.size(), 3u);
  EXPECT_EQ(e->GetSelection(0), shapes[2]);
  EXPECT_EQ(shapes[2]->ClassName(), QStringLiteral("TVornRectangle"));
  EXPECT_GT(shapes[2]->GetBounds().Left, moved.Left);
  // Edit > Align and Distribute > Align left puts the copy back in line with the original.
  e->SelectList({box, shapes[2]});
  w->Action(QStringLiteral("editAlign"))->menu()->actions().value(0)->trigger();
  EXPECT_EQ(shapes[2]->GetBounds().Left, box->GetBounds().Left);

  // Save through the menu; the title loses its marker and names the file.
  FileAnswer = Path("drawing");
  w->Action(QStringLiteral("fileSave"))->trigger();
  const QString saved = Path("drawing.vorn");
  EXPECT_FALSE(w->Modified());
  EXPECT_EQ(w->FileName(), saved);
  EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("drawing.vorn"))) << w->windowTitle().toStdString();
  EXPECT_EQ(w->RecentFiles().value(0), saved);
  // Undo and redo lead back to the saved state and away from it; a new change after an undo
  // leaves the saved state out of reach.
  const std::pair<const char*, bool> history[] = {{"editUndo", true},        {"editRedo", false},
                                                  {"editUndo", true},        {"editNudgeRight", true},
                                                  {"editUndo", true},        {"editRedo", true}};
  for (const auto& [action, modified] : history) {
    w->Action(QLatin1String(action))->trigger();
    EXPECT_EQ(w->Modified(), modified) << action;
  }

  // Reopened in another window, the document writes the same XML again.
  auto again = Window();
  ASSERT_TRUE(again->Open(saved));
  QString error;
  ASSERT_TRUE(again->SaveCopy(Path("again.vorn"), error)) << error.toStdString();
  EXPECT_EQ(ReadFile(Path("again.vorn")), ReadFile(saved));
  EXPECT_EQ(Shapes(again->Editor()).size(), 3u);
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
}

TEST_F(Designer, QuittingWithUnsavedChangesAsksAndDoesWhatTheAnswerSays) {
  const QByteArray original = ReadFile(QString::fromUtf8(kSample));
  struct TCase {
    QMessageBox::StandardButton Answer;
    bool Closes, Written;
  };
  for (const TCase c : {TCase{QMessageBox::Cancel, false, false}, TCase{QMessageBox::Discard, true, false},
                        TCase{QMessageBox::Save, true, true}}) {
    SCOPED_TRACE(c.Answer);
    const QString doc = WriteFile(Path("label.vorn"), original);
    auto w = Window();
    ASSERT_TRUE(w->Open(doc));
    w->Editor()->SelectAll();
    w->Action(QStringLiteral("editDelete"))->trigger();
    ASSERT_TRUE(w->Modified());
    int asked = 0;
    SaveAnswer = c.Answer;
    auto answer = w->Prompts.AskSave;
    w->Prompts.AskSave = [&](const QString& Name) {
      ++asked;
      EXPECT_EQ(Name, QStringLiteral("label.vorn"));
      return answer(Name);
    };
    // The View menu's switches, each turned over, come back in the next window after a close.
    const char* switches[] = {"viewRulers", "viewGrid", "viewSnap", "viewGuides", "viewCursorGuide", "viewSmartGuides"};
    std::vector<bool> turned;
    for (const char* name : switches) {
      QAction* a = w->Action(QLatin1String(name));
      a->trigger();
      turned.push_back(a->isChecked());
    }
    w->Action(QStringLiteral("fileQuit"))->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(w->isVisible(), !c.Closes);
    EXPECT_EQ(ReadFile(doc) != original, c.Written);
    if (!c.Closes) continue;
    w.reset();
    auto next = Window();
    for (size_t i = 0; i < std::size(switches); ++i)
      EXPECT_EQ(next->Action(QLatin1String(switches[i]))->isChecked(), turned[i]) << switches[i];
    // They reach the editor as clicks do.
    EXPECT_EQ(next->Editor()->EditOptions().Contains(TKxDeEditOption::kxdoSnapToGrid), turned[2]);
    EXPECT_EQ(next->Editor()->Grid()->GridType() != TKxDeGridType::kxgtNone, turned[1]);
  }
}

TEST_F(Designer, DamagedFilesLeaveTheDocumentAsItWas) {
  auto w = Window();
  ASSERT_TRUE(w->Open(QString::fromUtf8(kSample)));
  const size_t shapes = Shapes(w->Editor()).size();
  const QString damaged = WriteFile(Path("damaged.vorn"), ReadFile(QString::fromUtf8(kSample)).left(5000));
  const QString foreign = WriteFile(Path("foreign.vorn"), "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
  for (const QString& f : {damaged, foreign, Path("missing.vorn")}) {
    Errors.clear();
    EXPECT_FALSE(w->Open(f));
    ASSERT_EQ(Errors.size(), 1) << f.toStdString();
    EXPECT_TRUE(Errors[0].contains(QFileInfo(f).fileName())) << Errors[0].toStdString();
    EXPECT_EQ(Shapes(w->Editor()).size(), shapes);
    EXPECT_EQ(w->FileName(), QFileInfo(QString::fromUtf8(kSample)).absoluteFilePath());
  }
  // A save that cannot be written keeps the document modified and says so.
  w->Editor()->SelectAll();
  w->Action(QStringLiteral("editDelete"))->trigger();
  FileAnswer = Path("no-such-folder/label.vorn");
  Errors.clear();
  EXPECT_FALSE(w->SaveAs());
  EXPECT_EQ(Errors.size(), 1);
  EXPECT_TRUE(w->Modified());
}

TEST_F(Designer, ExportsAndDroppedPictures) {
  auto w = Window();
  ASSERT_TRUE(w->Open(QString::fromUtf8(kSample)));
  QString error;
  ASSERT_TRUE(w->Export(Path("label.png"), 150, error)) << error.toStdString();
  const QImage png(Path("label.png"));
  // 100 x 150 mm at 150 dpi.
  EXPECT_NEAR(png.width(), 591, 2);
  EXPECT_NEAR(png.height(), 886, 2);
  for (const char* name : {"label.pdf", "label.svg"}) {
    ASSERT_TRUE(w->Export(Path(name), 300, error)) << error.toStdString();
    EXPECT_GT(QFileInfo(Path(name)).size(), 1000) << name;
  }
  EXPECT_TRUE(ReadFile(Path("label.pdf")).startsWith("%PDF"));

  const size_t before = Shapes(w->Editor()).size();
  const QString image = WriteImage(Dir, QStringLiteral("dot.png"), 40, 20, Qt::blue);
  const QPoint at = At(w->Editor(), 30, 30);
  w->DropFiles({QUrl::fromLocalFile(image)}, &at);
  ASSERT_EQ(w->Editor()->SelectionCount(), 1);
  TKxDeShapeBase* picture = w->Editor()->GetSelection(0);
  EXPECT_EQ(picture->ClassName(), QStringLiteral("TVornPicture"));
  EXPECT_NEAR(picture->GetBounds().Left, 30, 1);
  EXPECT_NEAR(picture->GetBounds().Right - picture->GetBounds().Left, 40, 1);
  EXPECT_EQ(Shapes(w->Editor()).size(), before + 1);
}

TEST_F(Designer, PrintsThePageAtItsSizeWithThePrintersCalibrationAndPreviewsIt) {
  auto w = Window();
  ASSERT_TRUE(w->Open(QString::fromUtf8(kSample)));
  // Printing to a file has a calibration of its own, set in the calibration dialog; each printer
  // keeps its own, whatever its name holds.
  AnswerDialog(w->Action(QStringLiteral("filePrintCalibration")), [](QDialog* D) {
    for (const auto& [name, value] : {std::pair{"offsetX", 5}, {"offsetY", 3}, {"scaleX", 80}, {"scaleY", 120}})
      D->findChild<QDoubleSpinBox*>(QLatin1String(name))->setValue(value);
    D->accept();
  });
  const QString printers[] = {QStringLiteral("Office/Label"), QStringLiteral("Office_Label")};
  for (int i = 0; i < 2; ++i) TPrintCalibration{double(i + 7), 0, 100, 100}.Save(printers[i]);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(TPrintCalibration::Load(printers[i]).OffsetX, i + 7);
  const TPrintCalibration file = TPrintCalibration::Load(QString());
  EXPECT_EQ(std::tie(file.OffsetX, file.OffsetY, file.ScaleX, file.ScaleY), std::tuple(5.0, 3.0, 80.0, 120.0));

  // On paper the ink moves by the offset and stretches from the paper's corner by the scale; the
  // label's turned texts and stamp stay where they belong.
  const double dpi = 100;
  auto print = [&](const TPrintCalibration& C) {
    // A paper of 100 dots per inch.
    QImage image(600, 900, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    vorndesigner::PaintCalibrated(*w, painter, dpi, C);
    painter.end();
    return QRectF(InkBounds(image));
  };
  const QRectF plain = print(TPrintCalibration{});
  ASSERT_FALSE(plain.isEmpty());
  for (const TPrintCalibration& c : {TPrintCalibration{5, 3, 100, 100}, file}) {
    const QRectF want = QTransform(c.ScaleX / 100, 0, 0, c.ScaleY / 100, c.OffsetX * dpi / 25.4, c.OffsetY * dpi / 25.4)
                            .mapRect(plain);
    const QRectF ink = print(c);
    const double off = (ink.topLeft() - want.topLeft()).manhattanLength();
    EXPECT_LT(off + (ink.bottomRight() - want.bottomRight()).manhattanLength(), 6) << c.OffsetX << " " << c.ScaleX;
  }

  // The PDF's page is the document's page, upright or lying.
  const float perMm = CoordsPixelsPerMMConvertValue;
  const QSizeF sizes[] = {{w->Editor()->Layer()->Width() / perMm, w->Editor()->Layer()->Height() / perMm}, {150, 80}};
  for (const QSizeF& mm : sizes) {
    w->Editor()->Layer()->SetBounds(qRound(mm.width() * perMm), qRound(mm.height() * perMm));
    QString error;
    ASSERT_TRUE(vorndesigner::PrintToPdf(*w, Path("print.pdf"), error)) << error.toStdString();
    const QRegularExpressionMatch box = QRegularExpression(QStringLiteral("/MediaBox \\[\\s*0 0 ([\\d.]+) ([\\d.]+)"))
                                            .match(QString::fromLatin1(ReadFile(Path("print.pdf"))));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_NEAR(box.captured(1).toDouble(), mm.width() * 72 / 25.4, 1);
    EXPECT_NEAR(box.captured(2).toDouble(), mm.height() * 72 / 25.4, 1);
  }

  // The preview shows one page with the label's black print on it.
  int pages = 0, black = 0;
  AnswerDialog(w->Action(QStringLiteral("filePrintPreview")), [&](QDialog* D) {
    auto* preview = D->findChild<QPrintPreviewWidget*>();
    ASSERT_TRUE(preview && QTest::qWaitFor([&] { return preview->pageCount() > 0; }));
    pages = preview->pageCount();
    const QImage shot = preview->grab().toImage();
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) black += qGray(shot.pixel(x, y)) < 48;
  });
  EXPECT_EQ(pages, 1);
  EXPECT_GT(black, 200);
}

TEST_F(Designer, OpeningALargeDocumentShowsProgress) {
  // 300 shapes, large for a window that shows progress from 100 on, small for one from 1000.
  auto w = Window();
  for (int i = 0; i < 300; ++i)
    Create<TVornRectangle>(nullptr, w->Editor()->GetActiveLayer())->SetBounds(i % 20 * 10, i / 20 * 10, 8, 8);
  QString error;
  ASSERT_TRUE(w->SaveCopy(Path("large.vorn"), error)) << error.toStdString();
  // Whether a progress dialog appeared, and its value as it went.
  struct TWatch : QObject {
    bool Shown = false, Full = false;
    bool eventFilter(QObject* O, QEvent* E) override {
      if (auto* p = qobject_cast<QProgressDialog*>(O); p && E->type() == QEvent::Show) Shown = true;
      if (auto* p = qobject_cast<QProgressDialog*>(O); p && E->type() == QEvent::Hide)
        Full = p->value() == p->maximum();
      return false;
    }
  };
  for (const auto& [from, shown] : {std::pair{1000, false}, std::pair{100, true}}) {
    TWatch watch;
    qApp->installEventFilter(&watch);
    auto next = Window();
    next->ProgressFrom = from;
    EXPECT_TRUE(next->Open(Path("large.vorn")));
    qApp->removeEventFilter(&watch);
    EXPECT_EQ(std::pair(watch.Shown, watch.Full), std::pair(shown, shown)) << from;
    EXPECT_EQ(Shapes(next->Editor()).size(), 300u);
  }
}

// The first half of the crash test, run in a process of its own: a modified document, an
// autosave, and the process killed.
TEST_F(Designer, DISABLED_CrashAfterAutosave) {
  auto w = Window();
  auto* box = Create<TVornRectangle>(nullptr, w->Editor()->GetActiveLayer());
  box->SetBounds(10, 10, 50, 30);
  box->SetName(QStringLiteral("survivor"));
  ASSERT_TRUE(w->Modified());
  w->AutosaveTimer()->start(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(w->Recovery()->CopyFile()); }));
  std::raise(SIGKILL);
}

TEST_F(Designer, RecoveryCopyIsOfferedAfterACrash) {
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("VORN_DESIGNER_TEST_HOME"), Dir.path());
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests", "--gtest_filter=Designer.DISABLED_CrashAfterAutosave"});
  // Events go on meanwhile: under X this process may own the clipboard the child asks about.
  ASSERT_TRUE(QTest::qWaitFor([&] { return child.state() == QProcess::NotRunning; }, 60000));
  ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);

  // The child's folders are this test's: its copy is there, and no process owns it any more.
  auto w = Window();
  QStringList offered;
  w->Prompts.AskRestore = [&](const QString& Document, const QDateTime&) {
    offered << Document;
    return true;
  };
  ASSERT_TRUE(w->OfferRecovery());
  EXPECT_EQ(offered, QStringList{QString()});
  const std::vector<TKxDeShapeBase*> shapes = Shapes(w->Editor());
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0]->Name(), QStringLiteral("survivor"));
  EXPECT_TRUE(w->Modified());
  EXPECT_TRUE(w->FileName().isEmpty());
  // Restored once: the copy is gone.
  EXPECT_TRUE(vorndesigner::TRecovery::Orphans().empty());
}

}  // namespace
}  // namespace vorn::test
