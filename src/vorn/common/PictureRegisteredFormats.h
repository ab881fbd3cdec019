#pragma once
// The registry of graphic file formats: file extension -> description and graphic class, and of
// clipboard formats: clipboard format number -> graphic class.
// Built-in: bmp, png, jpg/jpeg, gif (Qt readers), svg (vector), and every further format the Qt
// image readers of this machine offer. Other codecs add themselves with RegisterPictureFileFormat.

#include "vorn/common/Object.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace vorn {

using TGraphicClass = const TClass*;

// Registers (or replaces) the graphic class for an extension ("img", without the dot).
void RegisterPictureFileFormat(const QString& Extension, const QString& Description, TGraphicClass GraphicClass);
// Removes an extension's registration.
void UnregisterPictureFileFormat(const QString& Extension);
// Binds (or rebinds) a clipboard format to the graphic class that reads it.
void RegisterPictureClipboardFormat(uint16_t Format, TGraphicClass GraphicClass);
// The class bound to a clipboard format, or null.
TGraphicClass GraphicClassForClipboardFormat(uint16_t Format);
// Removes every file and clipboard format of a class (a codec leaving the library).
void UnregisterGraphicClass(TGraphicClass GraphicClass);

// A line of the format list: "ext=Description" and the graphic class that reads the format.
struct TPictureFormatLine {
  QString Line;
  TGraphicClass GraphicClass = nullptr;
  bool operator==(const TPictureFormatLine&) const = default;
};

// Appends one line per registered format, in registration order.
void GetListOfRegisteredPictureFileFormats(QList<TPictureFormatLine>& List);
// The registered graphic classes, each once, in registration order.
void GetListOfRegisteredPictureTypes(QList<TGraphicClass>& ClassList);
// The class registered for Ext (one leading "." is stripped; case is ignored), or null.
TGraphicClass GraphicClassForExtension(const QString& Ext);
// A registered graphic class by its class name ("TPngImage"), or null.
TGraphicClass GraphicClassByName(const QString& ClassName);
// A file-dialog filter of every registered format ("Pictures (*.bmp *.png ...)").
QString PictureFileDialogFilter();

}  // namespace vorn
