#pragma once
// What the editor tests share: an editor that records the undo brackets and announcements a gesture
// makes, a window with one layer of named shapes, the mouse driven at world points, and grabs of what
// the user sees (kept as PNGs under build/test-output for a person to look at).

#include <vorn/shapes/VornShapes.h>

#include "support/TestSupport.h"

#include <QDir>
#include <QPixmap>
#include <QPoint>
#include <QTest>

#include <stdexcept>

namespace vorn::test {

using enum TKxDeEditState;

// Records the undo brackets and records a gesture makes, and the refreshes it causes.
class TRecordingEditor : public TKxDeEditor {
 public:
  Strings Undo;
  int Refreshes = 0;
  void BeginUndoGroup() override { Undo.push_back("begin"); }
  void EndUndoGroup() override { Undo.push_back("end"); }
  void NotifyUndo(TKxDeShapeBase* S, TKxDeAction A, const QString&) override {
    Undo.push_back(EnumToText(A).toStdString() + " " + (S ? S->Name().toStdString() : "none"));
  }
  void Changed(bool Force) override {
    if (!InUpdate()) ++Refreshes;
    TKxDeEditor::Changed(Force);
  }
};

// A shape of class T that raises from its hit test or from drawing its selection when told to.
template <class T>
class TFaulty : public T {
 public:
  using T::T;
  bool FailHit = false;
  bool FailDraw = false;
  TKxDeShapeHit HitTest(const TPointF& P, float Fuzz, float PointSize, bool Selected, bool Editing,
                        TKxDeShiftKeys Shift) const override {
    if (FailHit) throw std::runtime_error("hit test");
    return T::HitTest(P, Fuzz, PointSize, Selected, Editing, Shift);
  }
  void DrawSelection(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& Drag, const TKxDeSelectionData& Data,
                     double Zoom) override {
    if (FailDraw) throw std::runtime_error("selection");
    T::DrawSelection(C, X, Y, Drag, Data, Zoom);
  }
};

// A 420 x 320 window without border or rulers showing a 360 x 240 page, one layer on it.
template <class TEditor = TRecordingEditor>
class TEditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    E.resize(420, 320);
    E.BorderProps()->SetBorder(TKxDeBorder::kxdcbNone);
    E.Layer()->SetBounds(360, 240);
    // The rulers take room from the view; tests of rulers and guides show them.
    E.Rulers()->SetVisible(false);
    Layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&E));
  }
  // A solid light grey shape named Name.
  template <class T = TVornRectangle>
  T* Box(const char* Name, float X, float Y, float W = 60, float H = 60) {
    auto* s = Create<T>(nullptr, Layer);
    s->SetBounds(X, Y, W, H);
    s->SetName(QString::fromLatin1(Name));
    s->Brush()->SetStyle(TBrushStyle::bsSolid);
    s->Brush()->SetColor(0xE0E0E0);
    return s;
  }
  // Three squares: A and B side by side at the top, C below A.
  void PlaceThreeBoxes() {
    A = Box("A", 20, 20);
    B = Box("B", 120, 20);
    C = Box("C", 20, 140);
  }
  // The whole document as XML text.
  std::string Xml() const {
    TXmlDocument d;
    TKxDeDocumentFile::SaveLayersToXML(d, E.LayersList());
    return XmlToText(d, false).toStdString();
  }
  // The window pixel of a world point.
  QPoint At(const TPointF& W) const {
    const TPointF p = E.LayerToScreen(W);
    return QPoint(qRound(p.X), qRound(p.Y));
  }
  QPoint At(float X, float Y) const { return At(TPointF{X, Y}); }
  void Click(float X, float Y, Qt::KeyboardModifiers Keys = {}, Qt::MouseButton Button = Qt::LeftButton) {
    QTest::mousePress(&E, Button, Keys, At(X, Y));
    QTest::mouseRelease(&E, Button, Keys, At(X, Y));
  }
  // Press and move in Steps steps, the keys held throughout; Drag releases as well.
  void Hold(QPoint From, QPoint To, Qt::KeyboardModifiers Keys = {}, int Steps = 2) {
    QTest::mousePress(&E, Qt::LeftButton, Keys, From);
    for (int i = 1; i <= Steps; ++i)
      QTest::mouseEvent(QTest::MouseMove, &E, Qt::NoButton, Keys, From + (To - From) * i / Steps);
  }
  void Drag(QPoint From, QPoint To, Qt::KeyboardModifiers Keys = {}, int Steps = 2) {
    Hold(From, To, Keys, Steps);
    QTest::mouseRelease(&E, Qt::LeftButton, Keys, To);
  }
  std::string Selected() const {
    std::string out;
    for (TKxDeShapeBase* s : E.Selections()) out += s->Name().isEmpty() ? "?" : s->Name().toStdString();
    return out;
  }
  // The names of the layer's shapes, bottom first.
  std::string Names() const {
    std::string out;
    for (int32_t i = 0; i < Layer->ItemCount(); ++i) out += Layer->Items(i)->Name().toStdString();
    return out;
  }
  QImage Grab(const char* Name) {
    QImage image = E.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString dir = QStringLiteral(VORN_BINARY_DIR "/test-output");
    QDir().mkpath(dir);
    image.save(dir + QLatin1Char('/') + QLatin1String(Name) + QStringLiteral(".png"));
    return image;
  }
  // The pixel at window point P (device pixels may be more than one per window point).
  static QColor Pixel(const QImage& I, QPoint P) {
    const qreal r = I.devicePixelRatio();
    return I.pixelColor(qRound(P.x() * r), qRound(P.y() * r));
  }
  // Whether a dotted line of Colour passes P along Step: of three neighbouring pixels from P (on either
  // side of the line) at least one has it.
  static bool Marked(const QImage& I, QPoint P, QPoint Step, const QColor& Colour = QColor(0xFF, 0x00, 0xFF)) {
    const QPoint across(Step.y(), Step.x());
    for (int i = 0; i < 3; ++i)
      for (QPoint q : {P + i * Step, P + i * Step - across})
        if (Pixel(I, q) == Colour) return true;
    return false;
  }
  static TPointF TopLeft(const TKxDeShapeBase* S) {
    const TRectF b = S->GetBounds();
    return TPointF{b.Left, b.Top};
  }

  TEditor E;
  TKxDeLayer* Layer = nullptr;
  TKxDeShapeBase *A = nullptr, *B = nullptr, *C = nullptr;
};

}  // namespace vorn::test
