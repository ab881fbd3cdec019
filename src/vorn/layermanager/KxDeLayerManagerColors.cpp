#include "vorn/layermanager/KxDeLayerManagerColors.h"

#include "vorn/layermanager/KxDeLayerManager.h"

namespace vorn {

void TKxDeLayerManagerColors::Assign(const TPersistent* Source) {
  const auto* c = dynamic_cast<const TKxDeLayerManagerColors*>(Source);
  if (!c) {
    TPersistent::Assign(Source);
    return;
  }
  FActiveLayer = c->FActiveLayer;
  FActiveLayerText = c->FActiveLayerText;
  FCaption = c->FCaption;
  FCaptionText = c->FCaptionText;
  FSelectionIndicator = c->FSelectionIndicator;
  FSelection = c->FSelection;
  FSelectionText = c->FSelectionText;
  Changed();
}

void TKxDeLayerManagerColors::Changed() {
  if (FOwner) FOwner->ColorsChanged();
}

}  // namespace vorn
