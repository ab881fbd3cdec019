#pragma once
// Helpers shared by the property tree's units.

#include "vorn/inspector/PropInfo.h"

#include <QLoggingCategory>

namespace vorn {

Q_DECLARE_LOGGING_CATEGORY(lcPropertyTree)

// The bounds of an integer property's type.
void IntegerBounds(PPropInfo PropInfo, double& Min, double& Max);

// Line breaks of a value as a single-line cell and editor show them, and back.
QString LineBreaksToMarks(const QString& Text);
QString MarksToLineBreaks(const QString& Text);

}  // namespace vorn
