#include "vorn/common/ColorManagementProperties.h"

namespace vorn {

void TmekColorManagementProperties::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TmekColorManagementProperties*>(Source)) {
    FSplitColor = src->FSplitColor;
    FPositiveSaturationTolerance = src->FPositiveSaturationTolerance;
    FPositiveHueTolerance = src->FPositiveHueTolerance;
    FNegativeSaturationTolerance = src->FNegativeSaturationTolerance;
    FNegativeHueTolerance = src->FNegativeHueTolerance;
    FAutoLevels = src->FAutoLevels;
    FGammaCorrection = src->FGammaCorrection;
    FApplyGammaCorrection = src->FApplyGammaCorrection;
    FFullPictureOnColorHead = src->FFullPictureOnColorHead;
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace vorn
