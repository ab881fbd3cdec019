#pragma once
// The designer's scripted demonstration, for machines without a display: the window opens the
// sample label, the user's steps are played on it (select and drag the barcode, change a text in
// the inspector, undo once), and the results are written to a folder: screenshots of the window
// after each step, the label exported as PNG and PDF, and a copy of the edited document.

#include <QString>
#include <QTextStream>

namespace vorndesigner {

class TMainWindow;

// Plays the demonstration on Window with the document Label, writing into OutDir and telling Out
// what it did and where the files are; 0 on success, 1 with the reason on Out otherwise.
int RunDemoScript(TMainWindow& Window, const QString& Label, const QString& OutDir, QTextStream& Out);

}  // namespace vorndesigner
