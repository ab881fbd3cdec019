#pragma once
// TKxDeGuide: one user guide of an editor, a line across the page at y = Position
// (kxgtHorizontal) or x = Position (kxgtVertical), in world units. Guides live in the editor's
// TKxDeGuides list, independent of layers and of the document; an effective change of either
// value tells the list, which tells the editor.

#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Object.h"
#include "vorn/common/XmlUtils.h"

namespace vorn {

class TKxDeGuides;

class TKxDeGuide : public TPersistent {
  VORN_OBJECT(TKxDeGuide, TPersistent)
  Q_PROPERTY(double Position READ Position WRITE SetPosition)
  Q_PROPERTY(vorn::KxDrawingCommons::TKxDeGuideType GuideType READ GuideType WRITE SetGuideType)

 public:
  explicit TKxDeGuide(TKxDeGuides* Owner = nullptr) : FOwner(Owner) {}

  TKxDeGuides* Owner() const { return FOwner; }
  double Position() const { return FPosition; }
  void SetPosition(double Value);
  TKxDeGuideType GuideType() const { return FGuideType; }
  void SetGuideType(TKxDeGuideType Value);

  // Position and type of another guide (one change announced).
  void Assign(const TPersistent* Source) override;
  // The content of the guide's "o" element: "GuidPosition" and "GuideType".
  virtual void SaveToXML(TXmlNode Node) const;
  // Reads that content back; false, and the guide unchanged, when the position is not a number
  // or lies beyond any page.
  virtual bool LoadFromXML(TXmlNode Node);

 protected:
  ~TKxDeGuide() override = default;
  // Tells the owner list.
  void Changed();

 private:
  friend class TKxDeGuides;
  TKxDeGuides* FOwner;
  double FPosition = 0;
  TKxDeGuideType FGuideType = TKxDeGuideType::kxgtHorizontal;
};

}  // namespace vorn
