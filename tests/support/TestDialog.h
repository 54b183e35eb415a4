// SPDX-License-Identifier: Apache-2.0
// A dialog for the layer's own tests: a template with one control of each
// kind, and a class that logs every handler the message map reaches.
#ifndef KELM_TESTS_SUPPORT_TESTDIALOG_H
#define KELM_TESTS_SUPPORT_TESTDIALOG_H

#include "framework/dialogs/AfxWin.h"

#include <functional>
#include <string>
#include <thread>
#include <vector>

enum TestIds
{
    IDD_TEST = 9001,
    IDD_TEST_NO_DEFAULT = 9002,
    IDC_T_NAME_LABEL = 2001,
    IDC_T_NAME = 2002,
    IDC_T_NUMBER = 2003,
    IDC_T_APPLY = 2004,
    IDC_T_FIRST = 2005,
    IDC_T_SECOND = 2006,
    IDC_T_THIRD = 2007,
    IDC_T_PLAIN = 2008,
    IDC_T_SORTED_COMBO = 2009,
    IDC_T_PLAIN_COMBO = 2010,
    IDC_T_LIST = 2011,
    IDC_T_SPIN_EDIT = 2012,
    IDC_T_SPIN = 2013,
    IDC_T_FRAME = 2014,
    IDC_T_HIDDEN = 2015,
    IDC_T_PASSWORD = 2016,
    WM_T_USER = WM_USER + 7
};

// Registers the test templates (once).
void RegisterTestTemplates();

class TestDialog : public CDialog
{
public:
    explicit TestDialog(UINT templateId = IDD_TEST);

    std::vector<std::string> log;
    std::function<void(CDataExchange*)> exchange;
    std::function<BOOL(UINT, NMHDR*, LRESULT*)> toolTip;
    std::function<void()> onInit;
    std::vector<std::string> changedTexts; // EN_CHANGE of IDC_T_NAME: the text then
    std::vector<std::pair<WPARAM, LPARAM>> userMessages;
    std::thread::id windowThread = std::this_thread::get_id();
    bool userMessageOnWindowThread = true;

    BOOL OnInitDialog() override;
    bool Logged(const std::string& entry) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnClose();
    afx_msg void OnApply();
    afx_msg void OnRadio(UINT id);
    afx_msg void OnNameChange();
    afx_msg void OnNumberChange();
    afx_msg void OnComboChange();
    afx_msg void OnListDblClk();
    afx_msg void OnListSelChange();
    afx_msg BOOL OnToolTip(UINT id, NMHDR* header, LRESULT* result);
    afx_msg LRESULT OnUserMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

#endif
