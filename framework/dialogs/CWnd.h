// SPDX-License-Identifier: Apache-2.0
// A window: the dialog itself or one of its controls. A CWnd object is bound
// to a live window through m_hWnd; every operation on an object that is not
// bound (or whose window is gone) does nothing and answers 0, FALSE or an
// empty text. All operations belong to the window thread, except PostMessage,
// which any thread may call.
#ifndef KELM_FRAMEWORK_CWND_H
#define KELM_FRAMEWORK_CWND_H

#include "framework/dialogs/CCmdTarget.h"
#include "framework/dialogs/CRect.h"

#include <atomic>
#include <string>

class CMenu;

class CWnd : public CCmdTarget
{
public:
    CWnd() = default;
    ~CWnd() override;

    // The window this object stands for, or null. Atomic because other
    // threads read it when they post messages.
    std::atomic<HWND> m_hWnd{nullptr};
    HWND GetSafeHwnd() const { return m_hWnd.load(); }
    operator HWND() const { return m_hWnd.load(); }

    // The object that stands for hWnd: the control member bound to it by
    // DDX_Control, the dialog object, or else a wrapper of the control's
    // kind (CButton, CEdit, ...) that the framework owns until the window
    // is destroyed. Null for an unknown handle.
    static CWnd* FromHandle(HWND hWnd);

    // --- identity and relations
    int GetDlgCtrlID() const;
    // The control id of any window, so that handlers can write
    // GetDlgCtrlID((HWND)pNMHDR->idFrom) as with the free function.
    static int GetDlgCtrlID(HWND hWnd) { return ::GetDlgCtrlID(hWnd); }
    CWnd* GetDlgItem(int id) const; // null when the dialog has no such control
    CWnd* GetParent() const;

    // --- text (narrow Windows-1252)
    void SetWindowText(const std::string& text);
    void GetWindowText(std::string& text) const;
    std::string GetWindowText() const;
    int GetWindowText(char* buffer, int maxCount) const; // copies, NUL-terminated
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, const std::string& text);
    void GetDlgItemText(int id, std::string& text) const;
    int GetDlgItemText(int id, char* buffer, int maxCount) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;

    // --- state
    BOOL EnableWindow(BOOL enable = TRUE); // returns whether it was disabled before
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int showCommand); // SW_SHOW, SW_HIDE; returns whether it was visible
    BOOL IsWindowVisible() const;     // the window's own visibility flag
    CWnd* SetFocus();                 // returns the window that had the focus
    static CWnd* GetFocus();          // the focused control of the active dialog
    BOOL IsIconic() const;
    void GetClientRect(CRect* rect) const; // client area, pixels, origin 0,0
    void GetWindowRect(CRect* rect) const; // in the parent's client pixels for a control
    void Invalidate(BOOL erase = TRUE);
    void UpdateWindow();

    // --- buttons of a dialog by id
    void CheckRadioButton(int firstId, int lastId, int checkId);
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;

    // --- messages
    // Queues the message; it is handled later on the window thread through
    // the message map. Any thread. FALSE (message dropped) when the window
    // is gone.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // A message box owned by this window. caption null: the application
    // title. Icon only when type asks for one. Returns IDOK, IDCANCEL, IDYES..
    int MessageBox(const std::string& text, const char* caption = nullptr, UINT type = MB_OK);
    int MessageBox(const std::string& text, const std::string& caption, UINT type = MB_OK);

    // --- window decoration
    // The window's system menu (null when it has none, i.e. no WS_SYSMENU).
    // revert TRUE puts the standard items back and returns null.
    CMenu* GetSystemMenu(BOOL revert) const;
    HICON SetIcon(HICON icon, BOOL bigIcon); // returns the previous one
    HICON GetIcon(BOOL bigIcon) const;
    // Tooltips on demand: while enabled, resting the pointer on a control
    // sends TTN_NEEDTEXTA (WM_NOTIFY, from id 0) to this window.
    BOOL EnableToolTips(BOOL enable = TRUE);

    // --- the wait cursor, as on the framework's windows
    using CCmdTarget::BeginWaitCursor;
    using CCmdTarget::EndWaitCursor;
    using CCmdTarget::RestoreWaitCursor;

    // --- message handling
    // Routes a message through the message map, then to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default handling: WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE; others do
    // nothing and answer 0.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Default handlers, for derived handlers to call on.
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnClose();

protected:
    // Default handling of the message being handled now.
    LRESULT Default();

private:
    struct CurrentMessage
    {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    CurrentMessage m_current;
};

#endif
