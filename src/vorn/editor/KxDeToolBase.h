#pragma once
// TKxDeToolBase: an editing tool an editor hosts, such as a knife that cuts along a line.
//
// A tool is a list of points in world units that the user lays down with the mouse, and an
// action (Process) carried out on them. An editor takes one tool at a time (SetCurrentTool) and
// then stays in kxesToolEdit: a left press starts a new list at the pressed point, each move with
// the button held adds the pointer's point (Add, which a tool may interpret: the knife keeps only
// its first and latest point), and the release ends the gesture with Process. The editor paints
// the tool over the document with its MoveSize pen while it is attached.
//
// Changes of the points are announced through Changed, which calls DoChanged (the editor
// repaints, OnChange is raised); inside BeginUpdate/EndUpdate they are counted and announced once
// when the outermost update ends. The host owns its tools: a tool freed while attached leaves its
// editor first, and an editor freed first lets go of its tool.

#include "vorn/common/Color.h"
#include "vorn/common/Events.h"
#include "vorn/common/Graphics.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"

#include <cstdint>
#include <vector>

namespace vorn {

class TCanvas;
class TKxDeCustomEditor;

// The pen a tool paints with.
struct TKxDeToolPaintData {
  TColor LineColor = clBlack;
  TPenStyle LineStyle = TPenStyle::psSolid;
  TPenMode LineMode = TPenMode::pmCopy;
};

class TKxDeToolBase : public TPersistent {
  VORN_OBJECT(TKxDeToolBase, TPersistent)

 public:
  // With an editor the tool attaches itself to it right after construction.
  explicit TKxDeToolBase(TKxDeCustomEditor* AEditor = nullptr);
  void AfterConstruction() override;
  void BeforeDestruction() override;
  // Copies the points of another tool (one change announcement).
  void Assign(const TPersistent* Source) override;

  // The editor the tool is attached to, or none.
  TKxDeCustomEditor* Editor() const { return FEditor; }
  virtual TObject* GetOwner() const;

  int32_t GetCount() const { return static_cast<int32_t>(FPoints.size()); }
  // Point I; (0, 0) for an index out of range.
  TPointF GetPoint(int32_t I) const;
  // Replaces point I; announces a change only when the point differs. Ignores a bad index.
  void SetPoint(int32_t I, const TPointF& P);
  // Appends a copy of P.
  virtual void Add(const TPointF& P);
  virtual void Delete(int32_t I);
  virtual void Clear();

  void BeginUpdate() { ++FUpdateCount; }
  // Ending the outermost update announces the changes made inside it, if any.
  void EndUpdate();
  bool InUpdate() const { return FUpdateCount > 0; }

  // Draws the tool: the layer's origin lies at window pixel (X, Y), Zoom is the zoom factor.
  // Nothing here; each tool shows itself.
  virtual void Paint(TCanvas* Canvas, int32_t X, int32_t Y, const TKxDeToolPaintData& Data, double Zoom);
  // The tool's action on its points; nothing here.
  virtual void Process();

  // Raised by DoChanged after every announced change.
  TNotifyEvent OnChange;

 protected:
  ~TKxDeToolBase() override;
  // Announces a change now, or when the outermost update ends.
  void Changed();
  // The editor repaints; OnChange.
  virtual void DoChanged();
  // The points for descendants.
  std::vector<TPointF>& Points() { return FPoints; }
  // The window pixel of world point P for Paint's origin and zoom.
  static TPoint ScreenPoint(const TPointF& P, int32_t X, int32_t Y, double Zoom);

 private:
  friend class TKxDeCustomEditor;  // sets and clears the editor as it attaches and detaches tools

  std::vector<TPointF> FPoints;
  int32_t FUpdateCount = 0;
  int32_t FChangeCount = 0;
  TKxDeCustomEditor* FEditor = nullptr;
  TKxDeCustomEditor* FPendingEditor = nullptr;
};

}  // namespace vorn
