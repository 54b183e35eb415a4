// SPDX-License-Identifier: Apache-2.0
// Handles, message numbers, notification codes and flags of the window system
// as the program's dialog classes use them. Values are the platform's own so
// that numbers the program computes with (WM_USER + 0x33, id & 0xFFF0) mean
// what they mean there.
#ifndef KELM_FRAMEWORK_AFXWINTYPES_H
#define KELM_FRAMEWORK_AFXWINTYPES_H

#include "framework/core/AfxTypes.h"
#include "framework/dialogs/WinStyles.h"

#include <cstdint>

// Opaque handles. A handle is never reused while the process lives, so a
// stale handle simply finds nothing.
struct HWND__;
using HWND = HWND__*;
struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
struct HDC__;
using HDC = HDC__*;

using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;

#define LOWORD(l) (static_cast<WORD>(static_cast<std::uintptr_t>(l) & 0xFFFF))
#define HIWORD(l) (static_cast<WORD>((static_cast<std::uintptr_t>(l) >> 16) & 0xFFFF))
#define MAKEWPARAM(lo, hi)                                                                         \
    (static_cast<WPARAM>((static_cast<DWORD>(lo) & 0xFFFF) |                                       \
                         ((static_cast<DWORD>(hi) & 0xFFFF) << 16)))
#define MAKELPARAM(lo, hi) (static_cast<LPARAM>(MAKEWPARAM(lo, hi)))

// Window messages
#define WM_CLOSE 0x0010u
#define WM_PAINT 0x000Fu
#define WM_SETTEXT 0x000Cu
#define WM_GETTEXT 0x000Du
#define WM_GETTEXTLENGTH 0x000Eu
#define WM_ICONERASEBKGND 0x0027u
#define WM_QUERYDRAGICON 0x0037u
#define WM_NOTIFY 0x004Eu
#define WM_INITDIALOG 0x0110u
#define WM_COMMAND 0x0111u
#define WM_SYSCOMMAND 0x0112u
#define WM_USER 0x0400u
#define WM_APP 0x8000u

// System commands (WM_SYSCOMMAND wParam; the low four bits are the
// platform's own and are masked off before comparing)
#define SC_MOVE 0xF010u
#define SC_CLOSE 0xF060u

// Command and dialog result ids
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define ID_HELP 0xE146u

// Control notification codes (HIWORD of WM_COMMAND's wParam)
#define BN_CLICKED 0u
#define BN_DOUBLECLICKED 5u
#define EN_CHANGE 0x0300u
#define LBN_SELCHANGE 1u
#define LBN_DBLCLK 2u
#define CBN_SELCHANGE 1u

// Button check states
#define BST_UNCHECKED 0u
#define BST_CHECKED 1u

// List box and combo box messages and results
#define LB_ERR (-1)
#define LB_ADDSTRING 0x0180u
#define LB_INSERTSTRING 0x0181u
#define LB_DELETESTRING 0x0182u
#define LB_RESETCONTENT 0x0184u
#define LB_SETCURSEL 0x0186u
#define LB_GETCURSEL 0x0188u
#define LB_GETTEXT 0x0189u
#define LB_GETTEXTLEN 0x018Au
#define LB_GETCOUNT 0x018Bu
#define CB_ERR (-1)
#define CB_ADDSTRING 0x0143u
#define CB_DELETESTRING 0x0144u
#define CB_GETCOUNT 0x0146u
#define CB_GETCURSEL 0x0147u
#define CB_GETLBTEXT 0x0148u
#define CB_GETLBTEXTLEN 0x0149u
#define CB_INSERTSTRING 0x014Au
#define CB_RESETCONTENT 0x014Bu
#define CB_SETCURSEL 0x014Eu

// Message box types (buttons | icon | default button) and results (ID*)
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONHAND 0x00000010u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0u
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define MB_DEFMASK 0x00000F00u

// ShowWindow
#define SW_HIDE 0
#define SW_SHOW 5

// Menus
#define MF_STRING 0x0000u
#define MF_BYCOMMAND 0x0000u
#define MF_GRAYED 0x0001u
#define MF_BYPOSITION 0x0400u
#define MF_SEPARATOR 0x0800u

// System metrics
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXSMICON 49
#define SM_CYSMICON 50

// Tooltips asked for on demand
#define TTN_NEEDTEXTA (0u - 520u)
#define TTF_IDISHWND 0x0001u

struct NMHDR
{
    HWND hwndFrom;   // the window that sends the notification
    UINT_PTR idFrom; // its control id, or a window handle (see TTF_IDISHWND)
    UINT code;
};

struct TOOLTIPTEXTA
{
    NMHDR hdr;
    char* lpszText; // the answer, when set; otherwise szText
    char szText[80];
    void* hinst;
    UINT uFlags; // TTF_IDISHWND: hdr.idFrom is the control's HWND
    LPARAM lParam;
};

// Size of system elements in pixels (icons: 32 and 16).
int GetSystemMetrics(int index);

// The control id of a window (0 for a dialog or an unknown handle).
int GetDlgCtrlID(HWND hWnd);

// Whether hWnd names a window that still exists.
BOOL IsWindow(HWND hWnd);

// Queues a message for hWnd, to be handled on the window thread through its
// message map. Safe from any thread. Returns FALSE, and drops the message,
// when the window no longer exists.
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Sends a message to hWnd and returns the result. Window thread only.
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

#endif
