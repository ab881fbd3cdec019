#pragma once
// The standard shape kit in one include, and its registration with the engine's shape registry.
// A host calls RegisterVornShapes() once before it reads documents that contain kit shapes.

#include "vorn/shapes/VornBarcode.h"
#include "vorn/shapes/VornBoxShape.h"
#include "vorn/shapes/VornFreeHand.h"
#include "vorn/shapes/VornLine.h"
#include "vorn/shapes/VornPicture.h"
#include "vorn/shapes/VornPolyline.h"
#include "vorn/shapes/VornRectangle.h"
#include "vorn/shapes/VornShape.h"
#include "vorn/shapes/VornText.h"

namespace vorn {

// Registers every kit shape class with TKxDeRegister (display name and description); calling it
// again changes nothing.
void RegisterVornShapes();

}  // namespace vorn
