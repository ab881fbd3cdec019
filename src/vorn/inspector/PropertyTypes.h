#pragma once
// Vocabulary of the property tree and its in-place editors.

#include "vorn/common/Set.h"

#include <QObject>

#include <cstdint>

namespace vorn {
namespace MekInspector {
Q_NAMESPACE

// How a node of the property tree represents its property.
enum class TNodeRepresentation : uint8_t { nrCategory, nrStandard, nrIndividualSetValue };
Q_ENUM_NS(TNodeRepresentation)

// The in-place editor a property gets.
enum class TMek_VSTEditorType : uint8_t {
  etNone, etStringEditor, etPwdEditor, etButtonEditor, etComboEditor, etNumEditor, etCurrencyEditor,
  etDateTimeEditor, etFilenameEditor, etDirectoryEditor, etColorEditor, etMekFontEditor,
  etKxDeFontEditor, etShapePenEditor, etShapeBrushEditor, etPictureEditor
};
Q_ENUM_NS(TMek_VSTEditorType)

enum class TEditStyle : uint8_t { esUnderline, esCtl2D, esCtl3D };
Q_ENUM_NS(TEditStyle)

// The glyph of an edit button; each but gsCustom and gsDefault names a glyph image resource.
enum class TGlyphStyle : uint8_t {
  gsCustom, gsDefault, gsCheck, gsDate, gsDirectory, gsDropDown, gsEllipsis, gsFile, gsHelp,
  gsHome, gsMail, gsOpen, gsSave, gsSearch, gsTime
};
Q_ENUM_NS(TGlyphStyle)

enum class TKeySet : uint8_t { ksReturn, ksEscape };
Q_ENUM_NS(TKeySet)

// The kinds of published property types the property tree distinguishes (a filter selects among them).
// Booleans are enumerations; a colour is an integer whose type name is "TColor".
enum class TTypeKind : uint8_t {
  tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod, tkWChar, tkLString,
  tkWString, tkVariant, tkArray, tkRecord, tkInterface, tkInt64, tkDynArray, tkUString, tkClassRef, tkPointer,
  tkProcedure
};
Q_ENUM_NS(TTypeKind)

// Which button of a number editor stepped its value.
enum class TUDBtnType : uint8_t { btNext, btPrev };
Q_ENUM_NS(TUDBtnType)

}  // namespace MekInspector

using namespace MekInspector;

using TKeySets = TSet<TKeySet>;
using TTypeKinds = TSet<TTypeKind>;

}  // namespace vorn
