// SPDX-License-Identifier: Apache-2.0
// For tests only (library kelm_framework_testing): the dialog layer's seams
// and user-like actions, with no toolkit type in sight.
//
// Seams:
//  1. modal drivers: code that runs when a dialog of a template id becomes
//     modal (after OnInitDialog, window shown) and acts on it as a user would;
//  2. the message-box handler: every box is recorded and answered without
//     showing anything;
//  3. the event pump: runs the window thread's queue until a condition holds,
//     for messages posted from other threads.
//
// In test mode (on in every process that links kelm_framework_testmain) no
// call ever blocks on the operator: a message box with no handler and no
// queued answer answers its first button; a dialog with no driver ends at
// once with -1 (reported on stderr); a popup menu with no handler is
// dismissed.
//
// Actions take the dialog (the CDialog object, while DoModal runs, typically
// the one a driver receives) and a control id, go through the real widgets
// and events (mouse clicks, key presses), so notifications fire as for a
// user; they return false when the control does not exist, is hidden or is
// disabled (nothing happened then). After each action pending events are
// processed.
#ifndef KELM_FRAMEWORK_TESTSEAMS_H
#define KELM_FRAMEWORK_TESTSEAMS_H

#include "framework/dialogs/AfxWinTypes.h"
#include "framework/dialogs/CRect.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class CDialog;
class CWnd;

// ---- test mode and the window system
void AfxSetTestMode(bool on);
bool AfxIsTestMode();
// Starts the window system for this process if it is not running (the test
// main does this once).
void AfxEnsureWindowSystem();

// ---- the language of every text from now on: a translation the program has
// ("de", "ja"), or English ("en"); false, and English, when it has none.
bool AfxTestUseLanguage(const std::string& name);
// Made-up texts under a made-up name, such as a pseudo-language: each key
// (framework/core/AfxLanguage.h) with its text in UTF-8.
void AfxTestUseTexts(const std::string& name, const std::map<std::string, std::string>& texts);

// ---- dialog templates of the tests' own (framework/core/AfxResources.h), found
// before the program's; the template must outlive its use.
struct ResDialogTemplate;
void AfxRegisterDialogTemplate(const ResDialogTemplate* tmpl);

// ---- 1. modal drivers
using AfxModalDriver = std::function<void(CDialog&)>;
// Runs for every DoModal of templateId until replaced or cleared.
void AfxSetModalDriver(UINT templateId, AfxModalDriver driver);
// Runs once, for the next DoModal of templateId, before any set driver.
void AfxQueueModalDriver(UINT templateId, AfxModalDriver driver);
void AfxClearModalDrivers();
// A driver that returns with its dialog still open: the dialog is ended with
// -1 and this counter goes up, so tests can check it stayed 0.
int AfxUnfinishedModalCount();

// ---- 2. message boxes
struct AfxMessageBoxInfo
{
    std::string text;    // narrow, as the program passed it
    std::string caption; // narrow
    UINT type;           // as passed, with the icon AfxMessageBox added
    UINT buttons;        // type & MB_TYPEMASK
    UINT icon;           // type & MB_ICONMASK (0: none)
    bool application;    // AfxMessageBox (true) or CWnd::MessageBox (false)
    UINT ownerTemplate;  // template id of the dialog that owns or was active, 0 if none
};
using AfxMessageBoxHandler = std::function<int(const AfxMessageBoxInfo&)>;
// The handler answers each box (IDOK, IDCANCEL, ...). Null removes it.
void AfxSetMessageBoxHandler(AfxMessageBoxHandler handler);
// Answers for the next boxes, in order, before the handler is asked.
void AfxQueueMessageBoxAnswer(int answer);
// Every box shown since the last clear, handled or not.
std::vector<AfxMessageBoxInfo> AfxMessageBoxLog();
void AfxClearMessageBoxLog();

// ---- 3. the event pump
// Processes the window thread's events (posted messages included) until
// until() is true or timeoutMs passes; returns whether until() held.
bool AfxPumpEvents(const std::function<bool()>& until, int timeoutMs);
// Processes whatever is pending now.
void AfxPumpEvents();

// ---- popup menus (the system menu)
struct AfxMenuItemInfo
{
    UINT id; // 0 for a separator
    std::string text;
    bool separator;
    bool enabled;
};
// Answers a menu shown by the framework with the chosen id (0: dismissed).
using AfxPopupMenuHandler = std::function<UINT(const std::vector<AfxMenuItemInfo>&)>;
void AfxSetPopupMenuHandler(AfxPopupMenuHandler handler);

// ---- waits for calls made on another thread (CCallThread)
// Runs action once on the window thread as soon as the next wait has begun,
// as the operator's keys or the desktop's questions come during one.
void AfxTestDuringNextWait(std::function<void()> action);

// ---- the wait cursor
bool AfxIsWaitCursorShown();
int AfxWaitCursorCount();

// ---- user-like actions
enum class AfxKey
{
    Enter,
    Escape,
    Tab,
    BackTab,
    Space,
    Up,
    Down,
    Backspace,
    F4,
    F10,
    Menu, // the keyboard's context-menu key
    Undo  // Ctrl+Z
};
// Left click at the control's centre (a list box: its first row is avoided;
// use AfxTestSelect).
bool AfxTestClick(CDialog& dialog, int id);
// Focuses the control as Tab does (an edit's text gets selected, so typing
// replaces it) and types text as key presses, one character each (narrow
// text; '\n' presses Enter, '\b' Backspace).
bool AfxTestType(CDialog& dialog, int id, const std::string& text);
// Puts text on the clipboard and pastes it into the edit with Ctrl+V, the
// toolkit's own paste. Like the two below, it focuses the edit as Tab does
// (its text selected, so the paste replaces it) unless the edit has the
// focus already, when the caret and selection stay as they are.
bool AfxTestPaste(CDialog& dialog, int id, const std::string& text);
// Commits text into the edit as an input method does at the end of a
// composition (replacing the selection). False, with nothing entered, for
// an edit that takes no input method.
bool AfxTestCommitInputMethod(CDialog& dialog, int id, const std::string& text);
// Presses a key in the focused control of the dialog (or the dialog).
bool AfxTestPressKey(CDialog& dialog, AfxKey key, bool alt = false, bool shift = false);
// Alt+letter, as the operator presses a mnemonic.
bool AfxTestPressAlt(CDialog& dialog, char letter);
// Chooses item index of a combo box (opens its list and clicks the item) or
// list box (clicks the row).
bool AfxTestSelect(CDialog& dialog, int id, int index);
bool AfxTestDoubleClickItem(CDialog& dialog, int id, int index);
// Clicks the spin button's upper (up true) or lower arrow.
bool AfxTestClickSpin(CDialog& dialog, int id, bool up);
// The title bar's close box.
bool AfxTestClickCloseBox(CDialog& dialog);
// Rests the pointer on the control and reports whether a tooltip shows, and
// its text (narrow).
bool AfxTestToolTip(CDialog& dialog, int id, std::string* text);
// Right-click on the dialog's background at x, y (pixels, client area).
bool AfxTestRightClickBackground(CDialog& dialog, int x, int y);
// The items of the window's system menu, as the framework would show them.
std::vector<AfxMenuItemInfo> AfxTestSystemMenuItems(CDialog& dialog);
// Chooses the item id from the system menu (sends WM_SYSCOMMAND).
bool AfxTestInvokeSystemMenu(CDialog& dialog, UINT id);

// ---- what a screen reader is told: the accessibility interface of the dialog
// (id 0) or of one of its controls, as the desktop's service reads it. A
// control the dialog does not list among its children (the arrows of an
// edit's spin button, which are part of it) has none: these answer false.
struct AfxAccessibleInfo
{
    std::string role;        // "Dialog", "Button", "RadioButton", "CheckBox", "ComboBox",
                             // "EditableText", "SpinBox", "List", "StaticText", "Grouping",
                             // "Graphic", or the toolkit's name for another role
    std::string name;        // UTF-8, as the other texts here
    std::string description; // the tooltip, when the control has one
    std::string value;
    std::string accelerator; // "Alt+N" for a mnemonic
    std::vector<std::string> actions;
    int childCount = 0;
    // The row marked selected in a list box, or in the list a combo box drops
    // down: how a screen reader learns the choice.
    std::string selectedRow;
    // What the text interface reports: the whole text, and the text between
    // the offsets of its selection (what a screen reader says is selected).
    std::string text;
    std::string selectedText;
    // The text as a screen reader reads it, run by run of like attributes.
    std::string textByRuns;
    bool enabled = false;
    bool visible = false;
    bool focused = false;
    bool focusable = false;
    bool checkable = false;
    bool checked = false;
    bool password = false;
    bool defaultButton = false;
    bool busy = false; // a window waiting for a call (CCallThread)
    // The names of the objects that label it (a radio button's group box).
    std::vector<std::string> labelledBy;
};
bool AfxTestAccessible(CDialog& dialog, int id, AfxAccessibleInfo* info);
// The control at position index of the template (statics without an id).
bool AfxTestAccessibleAt(CDialog& dialog, int index, AfxAccessibleInfo* info);
// Does an action ("Press", "Toggle", "SetFocus", "Increase", ...) through the
// control's interface, as an assistive tool would, and waits the moment a
// pressed button takes to click. False when the control has no such action.
bool AfxTestAccessibleAction(CDialog& dialog, int id, const std::string& action);
// The same, returning at once.
bool AfxTestAccessibleActionNoWait(CDialog& dialog, int id, const std::string& action);

// Changes an edit's text through its editable-text interface, as an
// assistive tool does (an on-screen keyboard, voice control): the characters
// from start to end (-1: the end of the text) become text (narrow). False
// when the control offers no editable text.
bool AfxTestAccessibleReplaceText(CDialog& dialog, int id, int start, int end,
                                  const std::string& text);
// Sets a control's value through its value interface (an up-down control's
// position), as an assistive tool does. False when it has none.
bool AfxTestAccessibleSetValue(CDialog& dialog, int id, int value);
// The same two without waiting: the change is asked for, and whatever the
// control does with it is left to the event loop.
bool AfxTestAccessibleReplaceTextNoWait(CDialog& dialog, int id, int start, int end,
                                        const std::string& text);
bool AfxTestAccessibleSetValueNoWait(CDialog& dialog, int id, int value);

// What the desktop's service is told of the layer's controls, recorded from
// AfxTestRecordAccessibleEvents on, one line per event: the control's id,
// then "insert TEXT", "remove TEXT", "update OLD>NEW", "value N", "name",
// "announce TEXT", "caret", "selection", or "event N" for another kind.
void AfxTestRecordAccessibleEvents();
std::vector<std::string> AfxTestAccessibleEvents();

// ---- queries
CRect AfxTestControlRect(CDialog& dialog, int id);  // pixels, in the dialog's client area
CRect AfxTestTemplateRect(CDialog& dialog, int id); // dialog units, from the template
CRect AfxTestMapDialogRect(CDialog& dialog, const CRect& dialogUnits); // dialog units -> pixels
void AfxTestBaseUnits(CDialog& dialog, int* baseX, int* baseY);
int AfxTestFocusedId(CDialog& dialog);             // 0 when no control has the focus
std::vector<int> AfxTestTabOrder(CDialog& dialog); // ids of the tab chain, from the first
std::string AfxTestFontFamily(CDialog& dialog);
int AfxTestFontPixelSize(CDialog& dialog); // the size the dialog font is drawn at
bool AfxTestIsPassword(CDialog& dialog, int id);
// How many pixels the control's text needs beyond the room the control gives
// it, in the font it is drawn with: its current text (a combo box: its
// longest item), or text (narrow) as if it were set. 0 or less: it fits,
// wrapped lines of a static included. INT_MIN for a control without text.
int AfxTestTextOverflow(CDialog& dialog, int id, const std::string* text = nullptr);
// The same for the control at position index of the template, so that
// statics without an id of their own can be measured too.
int AfxTestTextOverflowAt(CDialog& dialog, int index, const std::string* text = nullptr);
std::string AfxTestSelectedText(CDialog& dialog, int id); // an edit's selection
// The characters of the text of the control at index (a combo box's entries
// included) that have no glyph in the font it ends up drawn with, in UTF-8;
// empty when every one has.
std::string AfxTestMissingGlyphs(CDialog& dialog, int index);
// Saves a picture of the dialog as a PNG file; returns whether it was written.
bool AfxGrabWindow(CWnd& window, const std::string& path);
// Renders the window and gives the colour at x, y as 0xRRGGBB.
bool AfxTestGrabPixel(CWnd& window, int x, int y, unsigned* rgb);

#endif
