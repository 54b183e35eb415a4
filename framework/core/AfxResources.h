// SPDX-License-Identifier: Apache-2.0
// The resources a program hands the layer at start-up: its string table, its
// dialog templates, its icons and its application title. The layer knows no
// program; until resources are handed over, every lookup finds nothing.
#ifndef KELM_FRAMEWORK_AFXRESOURCES_H
#define KELM_FRAMEWORK_AFXRESOURCES_H

#include <cstddef>

// ---- the string table: one entry per id, the text in UTF-8, ids ascending.
struct ResStringEntry
{
    unsigned id;
    const char* utf8;
};

// ---- dialog templates, in the shape of a resource script.

// Window class names of the controls, as the platform names them.
#define RES_CLASS_BUTTON "BUTTON"
#define RES_CLASS_EDIT "EDIT"
#define RES_CLASS_STATIC "STATIC"
#define RES_CLASS_LISTBOX "LISTBOX"
#define RES_CLASS_COMBOBOX "COMBOBOX"
#define RES_CLASS_UPDOWN "msctls_updown32"

// Control id of statics that the program never addresses.
#define IDC_STATIC (-1)

struct ResDialogItem
{
    int id;
    const char* className; // one of RES_CLASS_*
    const char* text;      // UTF-8; for an SS_ICON static, the icon's resource id as "#128"
    short x, y, cx, cy;    // dialog units
    unsigned style;        // WS_*, and the class's own style bits (framework/dialogs/WinStyles.h)
    unsigned exStyle;
};

struct ResDialogTemplate
{
    unsigned id;
    const char* caption; // UTF-8
    short cx, cy;        // dialog units
    const char* fontName;
    int pointSize;
    unsigned style;
    unsigned exStyle;
    const ResDialogItem* items; // in template order, which is also tab order
    std::size_t itemCount;
};

// ---- icons: each holds images of several sizes, each image in XPM form (a
// header line "w h colours 1", one line per colour, then one line per row).
struct ResIconImage
{
    int size; // width and height in pixels
    const char* const* xpm;
};

struct ResIcon
{
    unsigned id;
    const ResIconImage* images;
    std::size_t imageCount;
};

// ---- names that a screen reader gives controls whose neighbours say nothing
// a listener could act on (four edits under one caption, say): the control of
// a dialog template and the string that names it.
struct ResAccessibleName
{
    unsigned dialogId;
    int controlId;
    unsigned stringId;
};

// ---- translations: each holds the texts of one language, each text under
// the key that says where it belongs (AfxLanguage.h), in UTF-8.
struct ResTranslation
{
    const char* key;
    const char* utf8;
};

struct ResLanguage
{
    const char* name; // "de", "pt_BR", "zh_CN": language, and territory where it matters
    const ResTranslation* texts;
    std::size_t textCount;
};

// ---- what a program hands over. The arrays must outlive their use (static
// data in practice).
struct AfxResourceSet
{
    const char* appName; // the application title of message boxes; narrow
    const ResStringEntry* strings;
    std::size_t stringCount;
    const ResDialogTemplate* dialogs;
    std::size_t dialogCount;
    const ResIcon* icons;
    std::size_t iconCount;
    const ResAccessibleName* accessibleNames = nullptr;
    std::size_t accessibleNameCount = 0;
    const ResLanguage* languages = nullptr;
    std::size_t languageCount = 0;
};

// Replaces the resources every lookup searches. Call before the first window
// or string is needed.
void AfxSetResources(const AfxResourceSet& resources);

// Lookups over the resources handed over; null when there is none.
const char* AfxFindStringUtf8(unsigned id);
const ResDialogTemplate* AfxFindDialogTemplate(unsigned id);
const ResIcon* AfxFindIcon(unsigned id);
// The string id that names the control of the dialog template for a screen
// reader, 0 when the program names none.
unsigned AfxFindAccessibleName(unsigned dialogId, int controlId);
// The translation of the language named, null when the program has none.
const ResLanguage* AfxFindLanguage(const char* name);
// The program's application title, empty before resources are handed over.
const char* AfxResourceAppName();

#endif
