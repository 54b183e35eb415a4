// SPDX-License-Identifier: Apache-2.0
// The Connect to Tracker dialog as the operator meets it: what it shows from
// the settings file, how it polices the octets while typing and on OK, what OK
// leaves for the main window, what reaches the settings file, and the finder.
#include "framework/dialogs/AfxWin.h"
#include "framework/testing/TestSeams.h"
#include "settings/CSerialize.h"
#include "settings/CTrackerConnectDlg.h"
#include "tests/support/Bytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
const char* const kInvalidIp = "Invalid IP address \n Value must be between 0 and 255 inclusive";
const std::vector<std::string> kDefaultOctets = {"192", "0", "2", "10"};

// What the dialog shows, read inside a driver.
struct Shown
{
    int selection = -2;
    bool passwordEnabled = false;
    UINT corvo = 0, kelm = 0;
    std::vector<std::string> octets;
    int focus = 0;
};

std::vector<std::string> Octets(CDialog& d)
{
    std::vector<std::string> texts;
    for (int id : {IDC_IP1, IDC_IP2, IDC_IP3, IDC_IP4})
    {
        texts.push_back(d.GetDlgItem(id)->GetWindowText());
    }
    return texts;
}

Shown Read(CDialog& d)
{
    Shown s;
    s.selection = static_cast<CComboBox*>(d.GetDlgItem(IDC_USER_NAME))->GetCurSel();
    s.passwordEnabled = d.GetDlgItem(IDC_PASSWORD)->IsWindowEnabled() != FALSE;
    s.corvo = d.IsDlgButtonChecked(IDC_TYPE_CORVO);
    s.kelm = d.IsDlgButtonChecked(IDC_TYPE_KELM);
    s.octets = Octets(d);
    s.focus = AfxTestFocusedId(d);
    return s;
}

std::vector<std::string> Messages()
{
    std::vector<std::string> texts;
    for (const AfxMessageBoxInfo& box : AfxMessageBoxLog())
    {
        EXPECT_EQ(box.buttons, MB_OK);
        texts.push_back(box.text);
    }
    return texts;
}

class ConnectDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        theSettings = CSerialize(settingsDir.path());
        AfxClearMessageBoxLog();
    }
    void TearDown() override
    {
        AfxClearModalDrivers();
        EXPECT_EQ(AfxUnfinishedModalCount(), 0);
    }
    static int Run(CTrackerConnectDlg& dlg, const std::function<void(CDialog&)>& driver)
    {
        AfxQueueModalDriver(IDD_TRACKER_CONNECT, driver);
        return dlg.DoModal();
    }
    int Run(const std::function<void(CDialog&)>& driver) { return Run(dialog, driver); }
    // Opens the dialog, reads what it shows and ends it with button id.
    static Shown Open(CTrackerConnectDlg& dlg, int id)
    {
        Shown shown;
        EXPECT_EQ(Run(dlg,
                      [&](CDialog& d)
                      {
                          shown = Read(d);
                          AfxTestClick(d, id);
                      }),
                  id);
        return shown;
    }
    // A settings file whose unit pairs differ from the record's defaults.
    static std::string File(int user, int type, const std::string& address)
    {
        return SettingsFile(user, type, address, {5, 3, 1, 1, 0, 2, 1, 1});
    }
    void Store(int user, int type, const std::string& address)
    {
        WriteBytes(theSettings.GetFilePath(), File(user, type, address));
    }
    std::string FileBytes() const { return ReadBytes(theSettings.GetFilePath()); }

    TempDir settingsDir;
    CTrackerConnectDlg dialog;
};

// Makes dir the current directory for the life of the object.
class InDirectory
{
public:
    explicit InDirectory(const std::string& dir) : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir);
    }
    ~InDirectory() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};
} // namespace

TEST_F(ConnectDialogTest, WithoutSettingsFileOpensOnItsOwnChoices)
{
    std::vector<std::string> items, texts;
    Run(
        [&](CDialog& d)
        {
            auto* users = static_cast<CComboBox*>(d.GetDlgItem(IDC_USER_NAME));
            for (int i = 0; i < users->GetCount(); ++i)
            {
                items.emplace_back();
                users->GetLBText(i, items.back());
            }
            texts.push_back(d.GetWindowText());
            for (int id : {IDC_USER_NAME_LABEL, IDC_PASSWORD_LABEL, IDC_TYPE_GROUP, IDC_IP_GROUP,
                           IDC_FIND_TRACKERS, IDOK, IDCANCEL})
            {
                texts.push_back(d.GetDlgItem(id)->GetWindowText());
            }
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(items, (std::vector<std::string>{"user", "admin", "factory"}));
    EXPECT_EQ(texts, (std::vector<std::string>{"Connect to Tracker", "User Name", "Password",
                                               "Tracker Type", "IP Address", "Find Trackers...",
                                               "OK", "Cancel"}));

    const Shown shown = Open(dialog, IDOK);
    EXPECT_EQ(shown.selection, 0);
    EXPECT_FALSE(shown.passwordEnabled);
    EXPECT_EQ(shown.kelm, BST_CHECKED);
    EXPECT_EQ(shown.corvo, BST_UNCHECKED);
    EXPECT_EQ(shown.octets, kDefaultOctets);
    EXPECT_EQ(shown.focus, IDC_USER_NAME);
    EXPECT_TRUE(AfxMessageBoxLog().empty());
    EXPECT_EQ(dialog.m_userIndex, 0);
    EXPECT_EQ(dialog.GetSelectedUserName(), "user");
    EXPECT_EQ(dialog.m_trackerType, 1);
    EXPECT_EQ(dialog.m_ipAddress, "192.0.2.10");
    EXPECT_FALSE(FileExists(theSettings.GetFilePath())) << "OK stores nothing";
}

TEST_F(ConnectDialogTest, StoredChoicesAreShownAndReturnedByOk)
{
    struct Case
    {
        int user, type;
        int selection;
        bool passwordEnabled;
        UINT corvo;
        std::string name;
        int resultType;
    };
    for (const Case& c : {Case{1, 0, 1, true, BST_CHECKED, "admin", 0},
                          Case{2, 7, 2, true, BST_UNCHECKED, "factory", 1},
                          Case{3, 1, CB_ERR, false, BST_UNCHECKED, "", 1},
                          Case{-1, -2, CB_ERR, false, BST_UNCHECKED, "", 1}})
    {
        SCOPED_TRACE(c.user);
        Store(c.user, c.type, "10.20.30.40");
        CTrackerConnectDlg dlg;
        const Shown shown = Open(dlg, IDOK);
        EXPECT_EQ(shown.selection, c.selection);
        EXPECT_EQ(shown.passwordEnabled, c.passwordEnabled);
        EXPECT_EQ(shown.corvo, c.corvo);
        EXPECT_NE(shown.kelm, shown.corvo);
        EXPECT_EQ(shown.octets, (std::vector<std::string>{"10", "20", "30", "40"}));
        EXPECT_EQ(dlg.m_userIndex, c.selection);
        EXPECT_EQ(dlg.GetSelectedUserName(), c.name);
        EXPECT_EQ(dlg.m_trackerType, c.resultType);
        EXPECT_EQ(dlg.m_ip4, 40u);
    }
}

TEST_F(ConnectDialogTest, StoredAddressIsCutAtRunsOfDotsIntoFourOctets)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"..10...20.30.40.", {"10", "20", "30", "40"}},
        {"7.8", {"7", "8", "", ""}},
        {"1.2.3.4.5.6", {"1", "2", "3", "4"}},
        {"...", {"", "", "", ""}},
    };
    for (const auto& [address, expected] : cases)
    {
        SCOPED_TRACE(address);
        Store(0, 1, address);
        EXPECT_EQ(Open(dialog, IDCANCEL).octets, expected);
    }
    EXPECT_TRUE(AfxMessageBoxLog().empty());
}

TEST_F(ConnectDialogTest, StoredOctetsOutOfRangeAreReportedOnceEachAsTheDialogOpens)
{
    Store(0, 1, "300.-4.256.9");
    std::vector<std::string> octets, onOpening;
    int focusAfterOk = 0;
    EXPECT_EQ(Run(
                  [&](CDialog& d)
                  {
                      octets = Octets(d);
                      onOpening = Messages();
                      AfxTestClick(d, IDOK);
                      focusAfterOk = AfxTestFocusedId(d);
                      AfxTestClick(d, IDCANCEL);
                  }),
              IDCANCEL);
    EXPECT_EQ(onOpening, (std::vector<std::string>(3, kInvalidIp)));
    EXPECT_EQ(octets, (std::vector<std::string>{"300", "", "256", "9"}));
    EXPECT_EQ(Messages().back(), "Please enter an integer between 0 and 255.");
    EXPECT_EQ(focusAfterOk, IDC_IP1);
}

TEST_F(ConnectDialogTest, TypingPolicesEachOctetAndMovesOnAfterThreeCharacters)
{
    // A four-character second octet shows that exactly three get selected.
    Store(0, 1, "1.0012.3.4");
    std::vector<int> focus;
    std::string secondSelected, text256, selected256, textMinus5;
    Run(
        [&](CDialog& d)
        {
            AfxTestType(d, IDC_IP1, "255");
            focus.push_back(AfxTestFocusedId(d));
            secondSelected = AfxTestSelectedText(d, IDC_IP2);
            AfxTestType(d, IDC_IP2, "256");
            focus.push_back(AfxTestFocusedId(d));
            d.GetDlgItemText(IDC_IP2, text256);
            selected256 = AfxTestSelectedText(d, IDC_IP2);
            AfxTestType(d, IDC_IP3, "-5");
            focus.push_back(AfxTestFocusedId(d));
            d.GetDlgItemText(IDC_IP3, textMinus5);
            AfxTestType(d, IDC_IP3, "12");
            focus.push_back(AfxTestFocusedId(d));
            AfxTestType(d, IDC_IP4, "100");
            focus.push_back(AfxTestFocusedId(d));
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(focus, (std::vector<int>{IDC_IP2, IDC_IP2, IDC_IP3, IDC_IP3, IDOK}));
    EXPECT_EQ(secondSelected, "001");
    EXPECT_EQ(text256, "256");
    EXPECT_EQ(selected256, "256");
    EXPECT_EQ(textMinus5, "");
    EXPECT_EQ(Messages(), (std::vector<std::string>(2, kInvalidIp)));
}

TEST_F(ConnectDialogTest, OkRefusesOctetsThatAreNotNumbersAndStaysOpen)
{
    std::vector<int> focus;
    std::string addressAfterRefusal;
    EXPECT_EQ(Run(
                  [&](CDialog& d)
                  {
                      // Passes while typing: value 12, three characters.
                      AfxTestType(d, IDC_IP3, "12a");
                      focus.push_back(AfxTestFocusedId(d));
                      AfxTestClick(d, IDOK);
                      focus.push_back(AfxTestFocusedId(d));
                      addressAfterRefusal = dialog.m_ipAddress;
                      EXPECT_TRUE(AfxTestType(d, IDC_IP3, "3"));
                      AfxTestType(d, IDC_IP4, "\b");
                      AfxTestClick(d, IDOK);
                      focus.push_back(AfxTestFocusedId(d));
                      EXPECT_TRUE(AfxTestType(d, IDC_IP4, "4"));
                      AfxTestClick(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(focus, (std::vector<int>{IDC_IP4, IDC_IP3, IDC_IP4}));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Please enter a positive integer.",
                                                    "Please enter a positive integer."}));
    EXPECT_EQ(addressAfterRefusal, "192.0.12a.10");
    EXPECT_EQ(dialog.m_ip3, 3u);
    EXPECT_EQ(dialog.m_ipAddress, "192.0.3.4");
}

TEST_F(ConnectDialogTest, OkReturnsTheChoicesAndOnlySaveConnectionSettingsStoresThem)
{
    Store(2, 1, "10.0.0.5");
    const std::string before = FileBytes();
    EXPECT_EQ(Run(
                  [](CDialog& d)
                  {
                      AfxTestSelect(d, IDC_USER_NAME, 1);
                      AfxTestType(d, IDC_IP4, "77");
                      AfxTestClick(d, IDCANCEL);
                  }),
              IDCANCEL);
    EXPECT_EQ(FileBytes(), before);

    const std::string password(85, 'p');
    std::vector<bool> passwordEnabled;
    bool masked = false;
    EXPECT_EQ(Run(
                  [&](CDialog& d)
                  {
                      AfxTestSelect(d, IDC_USER_NAME, 1);
                      passwordEnabled.push_back(Read(d).passwordEnabled);
                      masked = AfxTestIsPassword(d, IDC_PASSWORD);
                      AfxTestType(d, IDC_PASSWORD, password);
                      // Back to "user": the password stays, greyed out.
                      AfxTestSelect(d, IDC_USER_NAME, 0);
                      passwordEnabled.push_back(Read(d).passwordEnabled);
                      AfxTestClick(d, IDC_TYPE_CORVO);
                      AfxTestType(d, IDC_IP1, "010");
                      AfxTestClick(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(passwordEnabled, (std::vector<bool>{true, false}));
    EXPECT_TRUE(masked);
    EXPECT_EQ(dialog.m_userIndex, 0);
    EXPECT_EQ(dialog.GetSelectedUserName(), "user");
    EXPECT_EQ(dialog.m_password, password.substr(0, 79));
    EXPECT_EQ(dialog.m_trackerType, 0);
    EXPECT_EQ(dialog.m_ip1, 10u);
    EXPECT_EQ(dialog.m_ipAddress, "010.0.0.5");
    EXPECT_EQ(FileBytes(), before) << "OK stores nothing";

    dialog.SaveConnectionSettings();
    // The unit pairs loaded on opening are written back unchanged.
    EXPECT_EQ(FileBytes(), File(0, 0, "010.0.0.5"));
    EXPECT_TRUE(AfxMessageBoxLog().empty());
}

// The library's buffer holds 79 characters: a pasted password keeps as many,
// as a typed one does, and an input method adds none beyond.
TEST_F(ConnectDialogTest, APastedPasswordKeepsItsFirst79Characters)
{
    std::string password;
    for (int i = 0; i < 200; ++i)
    {
        password += static_cast<char>('a' + i % 26);
    }
    EXPECT_EQ(Run(
                  [&](CDialog& d)
                  {
                      AfxTestSelect(d, IDC_USER_NAME, 2);
                      AfxTestPaste(d, IDC_PASSWORD, password);
                      // Full: a further paste or input method adds nothing.
                      AfxTestPaste(d, IDC_PASSWORD, "more");
                      AfxTestCommitInputMethod(d, IDC_PASSWORD, "more");
                      AfxTestClick(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(dialog.m_password, password.substr(0, 79));
}

TEST_F(ConnectDialogTest, OnlyFindTrackersHasATooltip)
{
    std::string tip;
    std::vector<int> withTip;
    Run(
        [&](CDialog& d)
        {
            for (int id : {IDC_FIND_TRACKERS, IDC_USER_NAME, IDC_TYPE_KELM, IDC_IP1, IDOK, IDCANCEL,
                           IDC_USER_NAME_LABEL})
            {
                std::string text;
                if (AfxTestToolTip(d, id, &text))
                {
                    withTip.push_back(id);
                    tip = text;
                }
            }
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(withTip, (std::vector<int>{IDC_FIND_TRACKERS}));
    EXPECT_EQ(tip, "Finds the IP address of the Trackers on the network");
}

TEST_F(ConnectDialogTest, FindTrackersRunsTheFinderArchiveAndIgnoresItsExitStatus)
{
    TempDir install;
    InDirectory here(install.path());
    const std::string runtime = install.file("jre/bin/javaw");
    std::vector<std::string> messagesWithoutRuntime, octets;
    EXPECT_EQ(Run(
                  [&](CDialog& d)
                  {
                      AfxTestClick(d, IDC_FIND_TRACKERS);
                      messagesWithoutRuntime = Messages();
                      AfxClearMessageBoxLog();

                      std::filesystem::create_directories(install.file("jre/bin"));
                      std::ofstream(runtime) << "#!/bin/sh\n"
                                                "for a in \"$@\"; do echo \"$a\"; done > args\n"
                                                "exit 3\n";
                      std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
                      AfxTestClick(d, IDC_FIND_TRACKERS);
                      octets = Octets(d);
                      AfxTestClick(d, IDCANCEL);
                  }),
              IDCANCEL);
    EXPECT_EQ(messagesWithoutRuntime, (std::vector<std::string>{"Could not launch Find Trackers"}));
    EXPECT_EQ(ReadBytes(install.file("args")), "-jar\nnetfinder.jar\n");
    EXPECT_EQ(octets, kDefaultOctets);
    EXPECT_TRUE(AfxMessageBoxLog().empty());
}
