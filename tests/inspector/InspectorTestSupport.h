#pragma once
// Shared helpers of the inspector tests: kit shapes in a layer whose surface records what the
// shapes announce, and answering the modal dialogs the button editors open.

#include <vorn/inspector/mekInspector.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/shapes/VornShapes.h>
#include <vorn/surface/KxDeSurface.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Readable texts in failure messages.
inline void PrintTo(const QString& S, std::ostream* Os) { *Os << '"' << S.toStdString() << '"'; }

namespace vorn::test {

// A surface that writes down every NotifyUndo as "<action> <property>".
class TAnnouncingSurface : public TKxDeSurface {
 public:
  std::vector<std::string> Announced;
  void NotifyUndo(TKxDeShapeBase*, TKxDeAction Action, const QString& PropName) override {
    Announced.push_back((EnumToText(Action) + QLatin1Char(' ') + PropName).trimmed().toStdString());
  }
};

// A layer on an announcing surface; shapes made here are freed with the surface.
struct TShapeDocument {
  TAnnouncingSurface Surface;
  TKxDeLayer* Layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&Surface));

  template <class T>
  T* Add(float W = 200, float H = 100) {
    T* shape = Create<T>(static_cast<TKxDeSurface*>(&Surface), static_cast<TKxDeContainer*>(Layer));
    shape->SetBounds(10, 10, W, H);
    Surface.Announced.clear();
    return shape;
  }
};

// Runs Answer on the next modal dialog once it is shown (the dialog's exec() returns after it).
template <class D>
void AnswerNextDialog(std::function<void(D*)> Answer) {
  QTimer::singleShot(0, [Answer] {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    Answer(dialog);
  });
}

}  // namespace vorn::test
