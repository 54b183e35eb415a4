// SPDX-License-Identifier: Apache-2.0
// Message maps: a static table per class that routes window messages,
// commands and control notifications to member functions, searched from the
// most derived class to its bases, as in the framework the program was
// written for.
//
// In the class declaration:
//     DECLARE_MESSAGE_MAP()
// In the source file:
//     BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//         ON_WM_SYSCOMMAND()
//         ON_BN_CLICKED(IDC_CONNECT, OnConnect)
//         ON_COMMAND_RANGE(5000, 5010, OnLaunchApplication)
//         ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipNeedText)
//         ON_MESSAGE(WM_APP_STATE, OnAppStateMessage)
//         ON_COMMAND(ID_HELP, CWinApp::OnHelp)
//     END_MESSAGE_MAP()
//
// Handlers are named WITHOUT '&': a member of the class (OnConnect) or a
// base-qualified member (CWinApp::OnHelp, which must then be public). Each
// entry checks the handler's signature at compile time:
//     ON_BN_CLICKED, ON_COMMAND, ON_LBN_DBLCLK, ON_CBN_SELCHANGE,
//     ON_EN_CHANGE, ON_WM_PAINT, ON_WM_CLOSE          void fn()
//     ON_COMMAND_RANGE                                void fn(UINT id)
//     ON_WM_SYSCOMMAND                                void OnSysCommand(UINT, LPARAM)
//     ON_WM_QUERYDRAGICON                             HCURSOR OnQueryDragIcon()
//     ON_MESSAGE                                      LRESULT fn(WPARAM, LPARAM)
//     ON_NOTIFY                                       void fn(NMHDR*, LRESULT*)
//     ON_NOTIFY_EX, ON_NOTIFY_EX_RANGE                BOOL fn(UINT id, NMHDR*, LRESULT*)
// An ON_NOTIFY_EX handler that returns FALSE lets the search go on to later
// entries and base classes.
#ifndef KELM_FRAMEWORK_AFXMESSAGEMAP_H
#define KELM_FRAMEWORK_AFXMESSAGEMAP_H

#include "framework/dialogs/AfxWinTypes.h"

class CCmdTarget;

// One message on its way to a handler.
struct AfxMsgCall
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT id;                    // command or control id (WM_COMMAND, WM_NOTIFY)
    UINT code;                  // notification code (WM_COMMAND, WM_NOTIFY)
    NMHDR* pNMHDR = nullptr;    // WM_NOTIFY
    LRESULT* pResult = nullptr; // WM_NOTIFY
    LRESULT result = 0;         // what the handler returned, for the sender
};

// Calls the entry's handler; returns false when an _EX handler declined.
using AfxMsgThunk = bool (*)(CCmdTarget* target, AfxMsgCall& call);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage; // 0 ends the table
    UINT nCode;    // notification code for WM_COMMAND and WM_NOTIFY entries
    UINT nID;      // first id of the range
    UINT nLastID;  // last id of the range
    AfxMsgThunk pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // null at the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define afx_msg

namespace AfxMsgThunks
{
template <typename Pmf> struct MemberOf;
template <typename C, typename R, typename... A> struct MemberOf<R (C::*)(A...)>
{
    using Class = C;
};
template <auto Pmf> using ClassOf = typename MemberOf<decltype(Pmf)>::Class;

template <auto Pmf> bool Void(CCmdTarget* t, AfxMsgCall&)
{
    (static_cast<ClassOf<Pmf>*>(t)->*Pmf)();
    return true;
}
template <auto Pmf> bool Id(CCmdTarget* t, AfxMsgCall& c)
{
    (static_cast<ClassOf<Pmf>*>(t)->*Pmf)(c.id);
    return true;
}
template <auto Pmf> bool SysCommand(CCmdTarget* t, AfxMsgCall& c)
{
    (static_cast<ClassOf<Pmf>*>(t)->*Pmf)(static_cast<UINT>(c.wParam), c.lParam);
    return true;
}
template <auto Pmf> bool QueryDragIcon(CCmdTarget* t, AfxMsgCall& c)
{
    HCURSOR cursor = (static_cast<ClassOf<Pmf>*>(t)->*Pmf)();
    c.result = reinterpret_cast<LRESULT>(cursor);
    return true;
}
template <auto Pmf> bool Message(CCmdTarget* t, AfxMsgCall& c)
{
    c.result = (static_cast<ClassOf<Pmf>*>(t)->*Pmf)(c.wParam, c.lParam);
    return true;
}
template <auto Pmf> bool Notify(CCmdTarget* t, AfxMsgCall& c)
{
    (static_cast<ClassOf<Pmf>*>(t)->*Pmf)(c.pNMHDR, c.pResult);
    return true;
}
template <auto Pmf> bool NotifyEx(CCmdTarget* t, AfxMsgCall& c)
{
    return (static_cast<ClassOf<Pmf>*>(t)->*Pmf)(c.id, c.pNMHDR, c.pResult) != FALSE;
}
} // namespace AfxMsgThunks

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static_cast<void>(sizeof(ThisClass));                                                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, nullptr                                                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define AFX_MSG_ENTRY(msg, code, first, last, thunk, fn)                                           \
    {static_cast<UINT>(msg), static_cast<UINT>(code), static_cast<UINT>(first),                    \
     static_cast<UINT>(last), &AfxMsgThunks::thunk<&ThisClass::fn>},

#define ON_COMMAND(id, fn) AFX_MSG_ENTRY(WM_COMMAND, BN_CLICKED, id, id, Void, fn)
#define ON_COMMAND_RANGE(first, last, fn) AFX_MSG_ENTRY(WM_COMMAND, BN_CLICKED, first, last, Id, fn)
#define ON_BN_CLICKED(id, fn) AFX_MSG_ENTRY(WM_COMMAND, BN_CLICKED, id, id, Void, fn)
#define ON_LBN_DBLCLK(id, fn) AFX_MSG_ENTRY(WM_COMMAND, LBN_DBLCLK, id, id, Void, fn)
#define ON_LBN_SELCHANGE(id, fn) AFX_MSG_ENTRY(WM_COMMAND, LBN_SELCHANGE, id, id, Void, fn)
#define ON_CBN_SELCHANGE(id, fn) AFX_MSG_ENTRY(WM_COMMAND, CBN_SELCHANGE, id, id, Void, fn)
#define ON_EN_CHANGE(id, fn) AFX_MSG_ENTRY(WM_COMMAND, EN_CHANGE, id, id, Void, fn)
#define ON_NOTIFY(code, id, fn) AFX_MSG_ENTRY(WM_NOTIFY, code, id, id, Notify, fn)
#define ON_NOTIFY_EX(code, id, fn) AFX_MSG_ENTRY(WM_NOTIFY, code, id, id, NotifyEx, fn)
#define ON_NOTIFY_EX_RANGE(code, first, last, fn)                                                  \
    AFX_MSG_ENTRY(WM_NOTIFY, code, first, last, NotifyEx, fn)
#define ON_MESSAGE(msg, fn) AFX_MSG_ENTRY(msg, 0, 0, 0, Message, fn)
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, 0, 0, 0, SysCommand, OnSysCommand)
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, 0, 0, 0, Void, OnPaint)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, 0, 0, 0, Void, OnClose)
#define ON_WM_QUERYDRAGICON()                                                                      \
    AFX_MSG_ENTRY(WM_QUERYDRAGICON, 0, 0, 0, QueryDragIcon, OnQueryDragIcon)

#endif
