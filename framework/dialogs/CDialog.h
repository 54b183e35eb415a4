// SPDX-License-Identifier: Apache-2.0
// A modal dialog built from one of the templates the program handed over
// (AfxSetResources). The window exists only while DoModal runs; DoModal may be called again on the
// same object and creates a new window each time.
//
// Every way of ending goes through the virtual handlers: OK (button 1 or
// Enter on the default button) -> OnOK; Cancel (button 2 or Escape) ->
// OnCancel; the title-bar close box -> WM_SYSCOMMAND SC_CLOSE -> WM_CLOSE
// (OnClose) -> by default OnCancel. OnOK and OnCancel end through EndDialog.
#ifndef KELM_FRAMEWORK_CDIALOG_H
#define KELM_FRAMEWORK_CDIALOG_H

#include "framework/dialogs/CDataExchange.h"
#include "framework/dialogs/CWnd.h"

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the window from the template, runs OnInitDialog, then the
    // modal loop until EndDialog. Returns EndDialog's value (IDOK, IDCANCEL,
    // ...), or -1 when the template does not exist.
    virtual int DoModal();

    // Base: UpdateData(FALSE), returns TRUE. Returning TRUE gives the focus
    // to the first enabled, visible tab-stop control.
    virtual BOOL OnInitDialog();

    // Ends the modal loop with result once the current handler returns.
    void EndDialog(int result);

    // TRUE: controls -> members with validation; FALSE: members -> controls.
    // Returns FALSE when validation failed (the prompt has been shown).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    UINT GetTemplateId() const { return m_nIDTemplate; }
    // The default push button's id (the template's BS_DEFPUSHBUTTON, else IDOK).
    UINT GetDefID() const;
    void GotoDlgCtrl(CWnd* control);
    void NextDlgCtrl();
    void PrevDlgCtrl();

    // WM_CLOSE becomes the IDCANCEL command.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Commands the dialog does not take go on to the application object.
    BOOL OnCmdMsg(UINT id, UINT code) override;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Base: UpdateData(TRUE) and, when it succeeds, EndDialog(IDOK).
    virtual void OnOK();
    // Base: EndDialog(IDCANCEL).
    virtual void OnCancel();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    int m_nModalResult = -1;
};

#endif
