// SPDX-License-Identifier: Apache-2.0
// The live windows: one record per dialog and per control, found by handle.
// Records are created and destroyed on the window thread; the table is
// guarded so that other threads can ask whether a handle is alive while
// posting to it.
#ifndef KELM_FRAMEWORK_UI_WINDOWREGISTRY_H
#define KELM_FRAMEWORK_UI_WINDOWREGISTRY_H

#include "framework/core/AfxResources.h"
#include "framework/dialogs/AfxWinTypes.h"
#include "framework/dialogs/CMenu.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <cstddef>
#include <memory>
#include <vector>

class CDialog;
class CWnd;
class QEventLoop;
class QObject;
class QPainter;

enum class WindowKind
{
    Dialog,
    ToolTip,
    PushButton,
    RadioButton,
    CheckBox,
    GroupBox,
    Static,
    Icon,
    Edit,
    ComboBox,
    ListBox,
    UpDown,
    Unknown
};

struct DialogState;

struct WindowRecord
{
    HWND hwnd = nullptr;
    WindowKind kind = WindowKind::Unknown;
    int id = 0;
    unsigned style = 0;
    int index = -1; // position in template order
    const ResDialogItem* item = nullptr;
    // Its rectangle in dialog units: the template's, widened where the
    // language's texts need more room.
    QRect units;
    QPointer<QWidget> widget;
    CWnd* bound = nullptr;         // the program's member (DDX_Control) or the dialog object
    std::unique_ptr<CWnd> wrapper; // the framework's stand-in when nothing is bound
    DialogState* dialog = nullptr;

    UINT limitText = 0; // edits: characters the operator may enter, 0 for the platform's maximum
    int group = -1;     // radio buttons: index of the first control of the group
    int lower = 0;      // up-down controls
    int upper = 100;
    int pos = 0;
    HWND buddy = nullptr;
    HICON icon = nullptr; // icon statics
};

struct DialogState
{
    CDialog* dialog = nullptr;
    const ResDialogTemplate* tmpl = nullptr;
    std::unique_ptr<WindowRecord> self;
    std::unique_ptr<WindowRecord> toolTip; // the sender of TTN_NEEDTEXTA, control id 0
    std::vector<std::unique_ptr<WindowRecord>> controls; // template order
    QPointer<QWidget> widget;
    QFont font;
    int baseX = 0;
    int baseY = 0;
    QSize units;         // the client area in dialog units, likewise
    bool fitted = false; // laid out for its texts, once they are set
    int defaultId = IDOK;
    CMenu systemMenu;
    bool hasSystemMenu = false;
    bool toolTipsEnabled = false;
    int toolTipRequests = 0;   // tooltip events answered so far
    bool toolTipShown = false; // what the last one showed
    QString toolTipText;
    QEventLoop* loop = nullptr;
    bool ended = false;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    QPainter* painter = nullptr; // set while WM_PAINT is handled
    bool painting = false;
};

class WindowRegistry
{
public:
    static HWND NewHandle();
    static void Add(WindowRecord* record);
    static void Remove(HWND hwnd);
    // The record of a live window, or null. Window thread.
    static WindowRecord* Find(HWND hwnd);
    static bool IsAlive(HWND hwnd); // any thread
    // The record of the control (or dialog) a widget belongs to, walking up
    // from inner widgets such as a list's viewport.
    static WindowRecord* FromWidget(const QWidget* widget);
    static WindowRecord* FindControl(const DialogState* dialog, int id);
    // The object that stands for the window (see CWnd::FromHandle).
    static CWnd* ObjectOf(WindowRecord* record);

    // The stack of running modal dialogs, innermost last.
    static void PushModal(DialogState* dialog);
    static void PopModal(DialogState* dialog);
    static DialogState* ActiveModal();

    // Queues a message for hwnd; any thread. False when hwnd is gone.
    static bool Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Handles the queued messages whose windows still exist, at most
    // kPostedSlice of them; more left wake the window thread again. While the
    // window thread waits in a call, none: they stay queued until
    // ReleasePosted. Window thread.
    static void DeliverPosted();
    // After a wait: wakes the window thread for what was queued during it.
    static void ReleasePosted();
    // What a control tells its dialog, and a close request: sent now, or,
    // while the window thread waits in a call, queued behind the posted
    // messages, so that no handler runs inside another's wait. Window thread.
    static void SendOrHold(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static constexpr std::size_t kPostedSlice = 256;
    // How many messages wait to be delivered.
    static std::size_t PostedCount();
    // The object woken when a message is queued (null: none yet / any more).
    static void SetDispatcher(QObject* dispatcher);
    // Sends to a dialog (through its message map) or a control.
    static LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

#endif
