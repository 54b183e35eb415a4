// The program's dialog templates as data, in the shape of a resource script:
// each control with its window class, text, rectangle in dialog units and
// style bits (res/WinStyles.h). The dialog layer builds its windows from
// these; nothing here has behaviour beyond finding a template by id.
#ifndef KELM_RES_DIALOGTEMPLATES_H
#define KELM_RES_DIALOGTEMPLATES_H

#include <cstddef>

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
    unsigned style;        // WS_*, and the class's own style bits
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

// The template of dialog id, or null when there is none.
const ResDialogTemplate* ResFindDialogTemplate(unsigned id);

#endif
