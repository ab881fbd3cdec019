#pragma once
// Fixtures of the surface tests: one log for everything a test watches (the surface's hooks,
// its clients and its events, in the order they run), a surface that records its hooks and
// refreshes, and a client that records its calls.

#include "support/TestSupport.h"

namespace vorn::test {

class TLoggedSurface : public TKxDeSurface {
 public:
  explicit TLoggedSurface(TCallLog* Log) : FLog(Log) {
    BorderProps()->SetBorder(TKxDeBorder::kxdcbNone);
    Scrollbars()->SetHeight(16);
  }
  // The teardown runs while this class's hooks still answer.
  ~TLoggedSurface() override { BeforeDestruction(); }
  // Every refresh: (ForceLayers, KeepLayerBuffer).
  std::vector<std::pair<bool, bool>> Refreshes;
  int WheelZooms = 0;

  void RefreshBuffers(bool ForceLayers, bool KeepLayerBuffer) override {
    Refreshes.emplace_back(ForceLayers, KeepLayerBuffer);
    TKxDeSurface::RefreshBuffers(ForceLayers, KeepLayerBuffer);
  }
  void StartAction(TKxDeShapeBase* S, TKxDeAction A, const QString&) override { Add("start " + ActionText(A), S); }
  void NotifyUndo(TKxDeShapeBase* S, TKxDeAction A, const QString&) override { Add("undo " + ActionText(A), S); }
  void EndAction(TKxDeShapeBase* S, TKxDeAction A, const QString&) override { Add("end " + ActionText(A), S); }

  // Every event of the surface, logged as "event ...".
  void LogEvents() {
    auto shape = [this](const char* What) {
      return [this, What](TObject*, TKxDeShapeBase* S) { Add(std::string("event ") + What, S); };
    };
    auto plain = [this](const char* What) {
      return [this, What](TObject*) { FLog->Add(std::string("event ") + What); };
    };
    OnInsertShape = shape("inserted");
    OnRemoveShape = shape("removed");
    OnShapeChange = shape("changed");
    OnClearShape = shape("cleared");
    OnInsertLayer = shape("layer inserted");
    OnRemoveLayer = shape("layer removed");
    OnLayerChange = shape("layer changed");
    OnReorderLayer = [this](TObject*, TKxDeLayer* L, intptr_t From, intptr_t To) {
      Add("event layer moved " + std::to_string(From) + ">" + std::to_string(To), L);
    };
    OnActiveLayerChange = plain("active");
    OnFramePropsChange = plain("frame");
    OnGridPropsChange = plain("grid");
    OnLayerPropsChange = plain("page");
    OnZoom = plain("zoom");
  }

 protected:
  void DoShapeInserted(TKxDeShapeBase* S) override { Add("hook inserted", S); }
  void DoShapeRemoved(TKxDeShapeBase* S) override { Add("hook removed", S); }
  void DoShapeChanged(TKxDeShapeBase* S) override { Add("hook changed", S); }
  void DoShapeCleared(TKxDeShapeBase* S) override { Add("hook cleared", S); }
  void DoLayerInserted(TKxDeLayer* L) override { Add("hook layer inserted", L); }
  void DoLayerRemoved(TKxDeLayer* L) override { Add("hook layer removed", L); }
  void DoLayerChanged(TKxDeLayer* L) override { Add("hook layer changed", L); }
  void DoLayerReordered(TKxDeLayer* L, int32_t From, int32_t To) override {
    Add("hook layer moved " + std::to_string(From) + ">" + std::to_string(To), L);
  }
  void DoActiveLayerChanged() override { FLog->Add("hook active " + FLog->NameOf(ActiveLayer())); }
  void DoMouseWheelZoom(int16_t) override { ++WheelZooms; }
  void BeforePaint(TCanvas*) override { FLog->Add("before paint"); }
  void UpdatePaintBuffer() override { FLog->Add("paint buffer"); }
  void AfterPaint(TCanvas*) override { FLog->Add("after paint"); }

 private:
  void Add(const std::string& What, const void* P) { FLog->Add(What + " " + FLog->NameOf(P)); }
  TCallLog* FLog;
};

class TLoggedClient : public TKxDeSurfaceClient {
 public:
  TLoggedClient(TKxDeSurface* S, TCallLog* Log, std::string Name)
      : TKxDeSurfaceClient(S), FLog(Log), FName(std::move(Name)) {}
  void DoActiveLayerChange() override { FLog->Add(FName + " active"); }
  void DoInsertLayer(TKxDeLayer* L) override { Add("layer inserted", L); }
  void DoInsertShape(TKxDeShapeBase* S) override { Add("inserted", S); }
  void DoRemoveLayer(TKxDeLayer* L) override { Add("layer removed", L); }
  void DoRemoveShape(TKxDeShapeBase* S) override { Add("removed", S); }
  void DoLayerChange(TKxDeLayer* L) override { Add("layer changed", L); }
  void DoShapeCleared(TKxDeShapeBase* S) override { Add("cleared", S); }
  void DoShapeChange(TKxDeShapeBase* S) override { Add("changed", S); }
  void DoFramePropsChange() override { FLog->Add(FName + " frame"); }
  void DoGridPropsChange() override { FLog->Add(FName + " grid"); }
  void DoLayerPropsChange() override { FLog->Add(FName + " page"); }
  void DoZoom() override { FLog->Add(FName + " zoom"); }
  void DoReorderLayer(TKxDeLayer* L, intptr_t From, intptr_t To) override {
    Add("layer moved " + std::to_string(From) + ">" + std::to_string(To), L);
  }

 private:
  void Add(const std::string& What, const void* P) { FLog->Add(FName + " " + What + " " + FLog->NameOf(P)); }
  TCallLog* FLog;
  std::string FName;
};

// A named plain shape with one box, in Owner.
inline TKxDeShape* NewShape(TCallLog& Log, TKxDeContainer* Owner, const std::string& Name,
                            TRectF Box = {0, 0, 10, 10}) {
  auto* s = Create<TKxDeShape>(nullptr, Owner);
  s->Add(Box.Left, Box.Top);
  s->Add(Box.Right, Box.Bottom);
  Log.Names[s] = Name;
  return s;
}

inline TKxDeLayer* NewLayer(TCallLog& Log, TKxDeSurface* S, const std::string& Name) {
  auto* l = Create<TKxDeLayer>(S);
  Log.Names[l] = Name;
  return l;
}

}  // namespace vorn::test
