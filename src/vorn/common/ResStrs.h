#pragma once
// The translatable messages of the drawing engine. Each is looked up by identifier through
// Qt's translation system (context "KxDEResStrs"); a missing translation yields the default text.

#include <QString>
#include <QVariant>

#include <initializer_list>

namespace vorn {

QString rsUnknownExtension();         // "Unknown graphic file (%s)\r\n%s"
QString rsOwnerLayer();               // "Owner layer"
QString rsVisible();                  // "Visible"
QString rsPrintingAllowed();          // "Printing allowed"
QString rsJScriptName();              // "JScript name"
QString rsVariableType();             // "Type"
QString rsInvisible();                // "Invisible"
QString rsSummary();                  // "Summary"
QString rsClipboardCannotBeOpened();  // "Clipboard cannot be opened, try again"
QString rsInvalidClipFmt();           // "Invalid clipboard format"
QString rsFontNameSubstitution();     // "Font "%s" was substituted with font "%s""
QString rsGroupDisplayName();         // "Group"
QString rsLayerDisplayName();         // "Layer"
QString rsLayerManagerLayer();        // "Layer - " (a layer without a name, before its index)
QString rsLayerManagerShape();        // "Shape - " (a shape without a name, before its index)

// Messages of the runtime helpers.
QString rsSysErrorCode();             // "System error. Code: %d.\r\n%s"
QString rsSysErrorUnknown();          // "A call to an OS function failed"
QString rsSetSizeOverflow();          // "Overflow: size given by parameter is greater as result can hold"

// "True" or "False" in the application's language, as hints show a flag.
QString TranslatedBool(bool Value);

// Looks a message up by its identifier ("rsVisible"); an empty string for an unknown identifier.
QString LoadResString(const char* Identifier);

// Fills "%s", "%d" (and "%%") placeholders in the order they appear, as the message texts expect.
// Surplus placeholders stay as written; surplus arguments are ignored.
QString kxdFormat(const QString& Format, std::initializer_list<QVariant> Args);

}  // namespace vorn
