#pragma once
// Shared fixtures of the document-model tests: a surface that records every call the model makes
// on it, a notifier that records what it hears, and a shape class that exposes the protected
// setters and records its hooks.

#include "support/TestSupport.h"

namespace vorn::test {

// Records the model's calls on its surface: undo hooks, the fan-out hooks, RefineSelections.
class TRecordingSurface : public TKxDeSurface {
 public:
  explicit TRecordingSurface(TCallLog* Log) : FLog(Log) {}

  void StartAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) override {
    FLog->Add("start " + ActionText(Action) + " " + FLog->NameOf(Shape) + " " + PropName.toStdString());
  }
  void NotifyUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) override {
    FLog->Add("undo " + ActionText(Action) + " " + FLog->NameOf(Shape) + " " + PropName.toStdString());
  }
  void EndAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) override {
    FLog->Add("end " + ActionText(Action) + " " + FLog->NameOf(Shape) + " " + PropName.toStdString());
  }
  void RefineSelections() override { FLog->Add("refine"); }

 protected:
  void DoShapeInserted(TKxDeShapeBase* S) override { FLog->Add("inserted " + FLog->NameOf(S)); }
  void DoShapeRemoved(TKxDeShapeBase* S) override { FLog->Add("removed " + FLog->NameOf(S)); }
  void DoShapeChanged(TKxDeShapeBase* S) override { FLog->Add("shape changed " + FLog->NameOf(S)); }
  void DoShapeCleared(TKxDeShapeBase* S) override { FLog->Add("cleared " + FLog->NameOf(S)); }
  void DoLayerChanged(TKxDeLayer* L) override { FLog->Add("layer changed " + FLog->NameOf(L)); }
  void DoLayerInserted(TKxDeLayer* L) override { FLog->Add("layer inserted " + FLog->NameOf(L)); }
  void DoLayerRemoved(TKxDeLayer* L) override { FLog->Add("layer removed " + FLog->NameOf(L)); }

 private:
  TCallLog* FLog;
};

// A plain shape whose protected setters are reachable and whose hooks are recorded.
class TTestShape : public TKxDeShape {
  VORN_OBJECT(TTestShape, TKxDeShape)

 public:
  TTestShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {}

  using TKxDeShapeBase::SetCaption;
  using TKxDeShapeBase::SetColor;

  TCallLog* Log = nullptr;
  // When set, point moves are clamped to this target by the is-changing hook.
  bool ClampPoints = false;
  TPointF ClampTo;

 protected:
  void PointIsChanging(TKxDePoint*, float& x, float& y) override {
    if (ClampPoints) {
      x = ClampTo.X;
      y = ClampTo.Y;
    }
  }
  void DoBeforeMove(float X, float Y) override { Record("before move " + std::to_string(X) + " " + std::to_string(Y)); }

 private:
  void Record(const std::string& Entry) {
    if (Log) Log->Add(Entry);
  }
};

// A test shape of two points spanning R, made in Owner.
inline TTestShape* Box(TKxDeContainer* Owner, TRectF R) {
  auto* s = Create<TTestShape>(nullptr, Owner);
  s->Add(R.Left, R.Top);
  s->Add(R.Right, R.Bottom);
  return s;
}

// A layer that records the shapes it gives its default styles.
class TCountingLayer : public TKxDeLayer {
 public:
  using TKxDeLayer::TKxDeLayer;
  std::vector<TKxDeShapeBase*> Styled;
  void AssignDefaultPropertiesToShape(TKxDeShapeBase* Shape) override {
    Styled.push_back(Shape);
    TKxDeLayer::AssignDefaultPropertiesToShape(Shape);
  }
};

// Records what a notifier hears.
inline void WireNotifier(TKxDeShapeNotifier* N, TCallLog* Log) {
  N->OnChanging = [Log](TObject*, TKxDeShapeBase* S) { Log->Add("notify changing " + Log->NameOf(S)); };
  N->OnChange = [Log](TObject*, TKxDeShapeBase* S) { Log->Add("notify changed " + Log->NameOf(S)); };
  N->OnDestroy = [Log](TObject*, TKxDeShapeBase* S) { Log->Add("notify destroyed " + Log->NameOf(S)); };
}

// A surface with one layer holding one test shape (of class S) with the points given.
template <class S = TTestShape>
class ModelFixtureOf : public ::testing::Test {
 protected:
  void SetUp() override {
    Surface = new TRecordingSurface(&Log);
    Layer = Create<TKxDeLayer>(Surface);
    Shape = Create<S>(nullptr, Layer);
    Shape->Log = &Log;
    Log.Names[Layer] = "layer";
    Log.Names[Shape] = "shape";
    Log.Clear();
  }
  void TearDown() override { delete Surface; }

  // Adds points without logging their insertion.
  void AddPoints(std::initializer_list<TPointF> Points) {
    for (const TPointF& p : Points) Shape->Add(p.X, p.Y);
    Log.Clear();
  }

  TCallLog Log;
  TRecordingSurface* Surface = nullptr;
  TKxDeLayer* Layer = nullptr;
  S* Shape = nullptr;
};
using ModelFixture = ModelFixtureOf<>;

// The order of what the log recorded, one word per entry: "start", "undo", "end" (actions),
// "changed" (a change delivered to the surface; the layer's own change before it is left out),
// "changing"/"notify" (notifiers), "hook", "refine", "inserted", "removed", "cleared".
inline std::string Order(const TCallLog& Log) {
  std::string out;
  for (const std::string& e : Log.Entries) {
    std::string word = e.substr(0, e.find(' '));
    if (e.rfind("layer changed", 0) == 0) continue;
    if (e.rfind("shape changed", 0) == 0) word = "changed";
    if (e.rfind("notify changing", 0) == 0) word = "changing";
    if (e.rfind("notify changed", 0) == 0) word = "notify";
    out += (out.empty() ? "" : " ") + word;
  }
  return out;
}

}  // namespace vorn::test
