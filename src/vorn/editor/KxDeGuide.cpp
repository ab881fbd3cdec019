#include "vorn/editor/KxDeGuide.h"

#include "vorn/editor/KxDeGuides.h"
#include "vorn/model/KxDeDocument.h"

namespace vorn {

void TKxDeGuide::SetPosition(double Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  Changed();
}

void TKxDeGuide::SetGuideType(TKxDeGuideType Value) {
  if (FGuideType == Value) return;
  FGuideType = Value;
  Changed();
}

void TKxDeGuide::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeGuide*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  if (FPosition == s->FPosition && FGuideType == s->FGuideType) return;
  FPosition = s->FPosition;
  FGuideType = s->FGuideType;
  Changed();
}

void TKxDeGuide::Changed() {
  if (FOwner) FOwner->GuideChanged(this);
}

void TKxDeGuide::SaveToXML(TXmlNode Node) const {
  TKxDeDocumentFile::SaveGuideToXML(Node, TKxDeDocumentGuide{FPosition, FGuideType});
}

bool TKxDeGuide::LoadFromXML(TXmlNode Node) {
  TKxDeDocumentGuide g;
  if (!TKxDeDocumentFile::LoadGuideFromXML(Node, g)) return false;
  if (FPosition == g.Position && FGuideType == g.GuideType) return true;
  FPosition = g.Position;
  FGuideType = g.GuideType;
  Changed();
  return true;
}

}  // namespace vorn
