#pragma once
// TToolbox: the shape classes a user can draw, one button each, listed from the shape registry
// (its display name as the label, its description as the tooltip), after a "Select" button that
// returns the editor to selecting. Choosing a class sets the editor's NewShapeClass; the buttons
// follow the editor when it leaves drawing by itself (Escape, a finished shape).

#include <vorn/common/Object.h>

#include <QIcon>
#include <QPointer>
#include <QWidget>

class QButtonGroup;
class QToolButton;

namespace vorn {
class TKxDeEditor;
}

namespace vorndesigner {

class TToolbox : public QWidget {
  Q_OBJECT

 public:
  explicit TToolbox(vorn::TKxDeEditor* Editor, QWidget* Parent = nullptr);

  // The button of a registered class name ("TVornText"), or of "Select" for an empty name.
  QToolButton* Button(const QString& ClassName) const;
  // Brings the checked button in line with the editor's NewShapeClass.
  void Follow();
  // A small drawing of what a class draws: the kit's classes have their own, others their initial.
  static QIcon IconFor(const QString& ClassName, const QString& DisplayName);

 private:
  QPointer<vorn::TKxDeEditor> FEditor;
  QButtonGroup* FGroup;
};

}  // namespace vorndesigner
