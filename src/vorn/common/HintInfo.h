#pragma once
// A rich hint: a title and lines of text that shapes, layers and rulers offer for tooltips.

#include <QString>
#include <QStringList>

namespace vorn {

// A rich hint: a title and lines of text.
struct TmekHintInfo {
  QString Title;
  QStringList Lines;

  bool IsEmpty() const { return Title.isEmpty() && Lines.isEmpty(); }
  void Clear() { Title.clear(); Lines.clear(); }
  void AddLine(const QString& Line) { Lines << Line; }
  // "Title\nline 1\nline 2", for plain tooltips.
  QString ToText() const {
    QStringList all;
    if (!Title.isEmpty()) all << Title;
    all += Lines;
    return all.join(QLatin1Char('\n'));
  }
};

}  // namespace vorn
