// The colour-management element (kept inside a layer's default properties).

#include "vorn/common/ColorManagementProperties.h"
#include "vorn/common/XmlUtils.h"

#include <cfloat>

namespace vorn {

void TmekColorManagementProperties::SaveToXML(TXmlNode Node) const {
  XmlWriteInteger(Node, "SplitColor", FSplitColor);
  XmlWriteInteger(Node, "SatTolPositive", FPositiveSaturationTolerance);
  XmlWriteInteger(Node, "HueTolPositive", FPositiveHueTolerance);
  XmlWriteInteger(Node, "SatTolNegative", FNegativeSaturationTolerance);
  XmlWriteInteger(Node, "HueTolNegative", FNegativeHueTolerance);
  XmlWriteBool(Node, "AutoLevels", FAutoLevels);
  XmlWriteBool(Node, "ApplyGammaCorrection", FApplyGammaCorrection);
  XmlWriteSingle(Node, "GammaCorrection", FGammaCorrection);
  XmlWriteBool(Node, "FullPictureOnColorHead", FFullPictureOnColorHead);
}

void TmekColorManagementProperties::LoadFromXML(TXmlNode Node) {
  FSplitColor = XmlReadInteger(Node, "SplitColor", FSplitColor);
  SetPositiveSaturationTolerance(XmlReadInteger(Node, "SatTolPositive", FPositiveSaturationTolerance));
  SetPositiveHueTolerance(XmlReadInteger(Node, "HueTolPositive", FPositiveHueTolerance));
  SetNegativeSaturationTolerance(XmlReadInteger(Node, "SatTolNegative", FNegativeSaturationTolerance));
  SetNegativeHueTolerance(XmlReadInteger(Node, "HueTolNegative", FNegativeHueTolerance));
  FAutoLevels = XmlReadBool(Node, "AutoLevels", FAutoLevels);
  FApplyGammaCorrection = XmlReadBool(Node, "ApplyGammaCorrection", FApplyGammaCorrection);
  FGammaCorrection = XmlReadSingleIn(Node, "GammaCorrection", FGammaCorrection, -FLT_MAX, FLT_MAX);
  FFullPictureOnColorHead = XmlReadBool(Node, "FullPictureOnColorHead", FFullPictureOnColorHead);
}

}  // namespace vorn
