// SPDX-License-Identifier: Apache-2.0
// The Select Units dialog as the operator meets it: what it shows, how it
// refuses bad precisions, and what OK and Cancel leave in the settings file
// and the units argument.
#include "framework/dialogs/AfxWin.h"
#include "framework/testing/TestSeams.h"
#include "settings/CSerialize.h"
#include "tests/support/Bytes.h"
#include "tests/support/DialogTest.h"
#include "tests/support/TempDir.h"
#include "units/CSelectUnitsDialog.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{
struct Shown
{
    int unit[4];
    std::string precision[4];
};

const int kCombos[4] = {IDC_LENGTH_UNIT, IDC_ANGLE_UNIT, IDC_PRESSURE_UNIT, IDC_TEMPERATURE_UNIT};
const int kEdits[4] = {IDC_LENGTH_PRECISION, IDC_ANGLE_PRECISION, IDC_PRESSURE_PRECISION,
                       IDC_TEMPERATURE_PRECISION};
const int kSpins[4] = {IDC_LENGTH_SPIN, IDC_ANGLE_SPIN, IDC_PRESSURE_SPIN, IDC_TEMPERATURE_SPIN};

Shown Read(CDialog& d)
{
    Shown s;
    for (int q = 0; q < 4; ++q)
    {
        s.unit[q] = static_cast<CComboBox*>(d.GetDlgItem(kCombos[q]))->GetCurSel();
        d.GetDlgItemText(kEdits[q], s.precision[q]);
    }
    return s;
}

void ExpectShown(const Shown& s, std::initializer_list<int> units,
                 std::initializer_list<const char*> precisions)
{
    int q = 0;
    for (int u : units)
    {
        EXPECT_EQ(s.unit[q++], u);
    }
    q = 0;
    for (const char* p : precisions)
    {
        EXPECT_EQ(s.precision[q++], p);
    }
}

class SelectUnitsDialogTest : public DialogTest
{
protected:
    int Run(const std::function<void(CDialog&)>& driver)
    {
        AfxQueueModalDriver(IDD_SELECT_UNITS, driver);
        return dialog.DoModal();
    }
    std::string FileBytes() const { return ReadBytes(theSettings.GetFilePath()); }

    CSelectUnitsDialog dialog;
};
} // namespace

TEST_F(SelectUnitsDialogTest, WithoutSettingsFileOpensOnItsOwnDefaults)
{
    Shown shown{};
    std::vector<std::string> angleItems, labels;
    EXPECT_EQ(Run(
                  [&](CDialog& d)
                  {
                      shown = Read(d);
                      auto* angles = static_cast<CComboBox*>(d.GetDlgItem(IDC_ANGLE_UNIT));
                      for (int i = 0; i < angles->GetCount(); ++i)
                      {
                          std::string item;
                          angles->GetLBText(i, item);
                          angleItems.push_back(item);
                      }
                      for (int id : {IDC_LENGTH_LABEL, IDC_ANGLE_LABEL, IDC_PRESSURE_LABEL,
                                     IDC_TEMPERATURE_LABEL, IDC_PRECISION_LABEL, IDOK, IDCANCEL})
                      {
                          std::string text;
                          d.GetDlgItemText(id, text);
                          labels.push_back(text);
                      }
                      labels.push_back(d.GetWindowText());
                      AfxTestClick(d, IDCANCEL);
                  }),
              IDCANCEL);
    ExpectShown(shown, {3, 2, 3, 0}, {"6", "6", "2", "3"});
    EXPECT_EQ(angleItems, (std::vector<std::string>{"arcminutes", "arcseconds", "degrees", "grads",
                                                    "milliradians", "radians"}));
    EXPECT_EQ(labels, (std::vector<std::string>{"Length", "Angle", "Pressure", "Temperature",
                                                "Precision", "OK", "Cancel", "Select Units"}));
    EXPECT_FALSE(FileExists(theSettings.GetFilePath()));
}

TEST_F(SelectUnitsDialogTest, StoredChoicesAreShown)
{
    WriteBytes(theSettings.GetFilePath(), SettingsFile(0, 1, "1.2.3.4", {5, 3, 1, 1, 0, 2, 1, 1}));
    Shown shown{};
    Run(
        [&](CDialog& d)
        {
            shown = Read(d);
            AfxTestPressKey(d, AfxKey::Escape);
        });
    ExpectShown(shown, {5, 1, 0, 1}, {"3", "1", "2", "1"});
}

TEST_F(SelectUnitsDialogTest, OutOfBoundsPrecisionsAreRefusedAngleFirst)
{
    WriteBytes(theSettings.GetFilePath(), SettingsFile(0, 1, "1.2.3.4", {3, 6, 2, 6, 3, 2, 0, 3}));
    const std::string before = FileBytes();
    std::vector<int> focusAfterPrompt;
    int result = Run(
        [&](CDialog& d)
        {
            AfxTestType(d, IDC_LENGTH_PRECISION, "10");
            AfxTestType(d, IDC_ANGLE_PRECISION, "0");
            AfxTestClick(d, IDOK);
            focusAfterPrompt.push_back(AfxTestFocusedId(d));
            AfxTestType(d, IDC_ANGLE_PRECISION, "4");
            AfxTestClick(d, IDOK);
            focusAfterPrompt.push_back(AfxTestFocusedId(d));
            AfxTestType(d, IDC_LENGTH_PRECISION, "\b");
            AfxTestPressKey(d, AfxKey::Enter);
            focusAfterPrompt.push_back(AfxTestFocusedId(d));
            AfxTestType(d, IDC_LENGTH_PRECISION, "5");
            AfxTestType(d, IDC_PRESSURE_PRECISION, "4");
            AfxTestClick(d, IDOK);
            focusAfterPrompt.push_back(AfxTestFocusedId(d));
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(result, IDCANCEL);
    std::vector<std::string> prompts;
    for (const AfxMessageBoxInfo& box : AfxMessageBoxLog())
    {
        prompts.push_back(box.text);
        EXPECT_EQ(box.icon, MB_ICONEXCLAMATION);
    }
    EXPECT_EQ(prompts, (std::vector<std::string>{"Please enter an integer between 1 and 9.",
                                                 "Please enter an integer between 1 and 9.",
                                                 "Please enter an integer.",
                                                 "Please enter an integer between 1 and 3."}));
    EXPECT_EQ(focusAfterPrompt, (std::vector<int>{IDC_ANGLE_PRECISION, IDC_LENGTH_PRECISION,
                                                  IDC_LENGTH_PRECISION, IDC_PRESSURE_PRECISION}));
    EXPECT_EQ(FileBytes(), before) << "Cancel after refused precisions keeps the file";
    EXPECT_EQ(dialog.GetUnitsArgument(), "");
}

TEST_F(SelectUnitsDialogTest, OkUnchangedWritesTheFileAndBuildsTheArgument)
{
    EXPECT_EQ(Run([](CDialog& d) { AfxTestClick(d, IDOK); }), IDOK);
    EXPECT_EQ(dialog.GetUnitsArgument(), "-uLength=m,1,6 -uAngular=\xB0,57.29578,6 "
                                         "-uPressure=mmHg,1,2 -uTemperature=\xB0"
                                         "C,1,0,3");
    // The connection fields are the record's defaults.
    EXPECT_EQ(FileBytes(), SettingsFile(0, 1, "192.0.2.10", {3, 6, 2, 6, 3, 2, 0, 3}));

    // Unchanged again: still written, and rebuilt the same from the file.
    WriteBytes(theSettings.GetFilePath(), SettingsFile(2, 0, "10.0.0.5", {3, 6, 2, 6, 3, 2, 0, 3}));
    EXPECT_EQ(Run([](CDialog& d) { AfxTestPressKey(d, AfxKey::Enter); }), IDOK);
    EXPECT_EQ(FileBytes(), SettingsFile(2, 0, "10.0.0.5", {3, 6, 2, 6, 3, 2, 0, 3}));
    const std::string built = dialog.GetUnitsArgument();
    dialog.RebuildUnitsArgument();
    EXPECT_EQ(dialog.GetUnitsArgument(), built);
}

TEST_F(SelectUnitsDialogTest, ChoicesGoToTheFileAndPrecisionTextGoesOutAsTyped)
{
    EXPECT_EQ(Run(
                  [](CDialog& d)
                  {
                      AfxTestSelect(d, IDC_LENGTH_UNIT, 5);
                      AfxTestType(d, IDC_LENGTH_PRECISION, "07");
                      AfxTestSelect(d, IDC_ANGLE_UNIT, 1);
                      AfxTestType(d, IDC_ANGLE_PRECISION, "1");
                      AfxTestSelect(d, IDC_PRESSURE_UNIT, 0);
                      AfxTestSelect(d, IDC_TEMPERATURE_UNIT, 1);
                      AfxTestType(d, IDC_TEMPERATURE_PRECISION, "1");
                      AfxTestClick(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(dialog.GetUnitsArgument(), "-uLength=mm,1000,07 -uAngular=asec,206265,1 "
                                         "-uPressure=inHg,0.03937008,2 -uTemperature=\xB0"
                                         "F,1.8,32.0,1");
    EXPECT_EQ(FileBytes(), SettingsFile(0, 1, "192.0.2.10", {5, 7, 1, 1, 0, 2, 1, 1}));
    dialog.RebuildUnitsArgument();
    EXPECT_EQ(dialog.GetUnitsArgument(), "-uLength=mm,1000,7 -uAngular=asec,206265,1 "
                                         "-uPressure=inHg,0.03937008,2 -uTemperature=\xB0"
                                         "F,1.8,32.0,1");
}

// A precision goes out in the units argument as its text: a paste or an
// input method that would bring in anything but digits (blanks that would
// split the argument) is refused, and the text stays as it was.
TEST_F(SelectUnitsDialogTest, PrecisionsStayDigitsWhateverWayTextEnters)
{
    std::vector<std::string> texts;
    EXPECT_EQ(Run(
                  [&](CDialog& d)
                  {
                      AfxTestPaste(d, IDC_LENGTH_PRECISION, " 5 ");
                      AfxTestCommitInputMethod(d, IDC_ANGLE_PRECISION, "4 ");
                      AfxTestPaste(d, IDC_PRESSURE_PRECISION, "1");
                      AfxTestCommitInputMethod(d, IDC_TEMPERATURE_PRECISION, "2");
                      for (int id : {IDC_LENGTH_PRECISION, IDC_ANGLE_PRECISION,
                                     IDC_PRESSURE_PRECISION, IDC_TEMPERATURE_PRECISION})
                      {
                          texts.push_back(d.GetDlgItem(id)->GetWindowText());
                      }
                      AfxTestClick(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(texts, (std::vector<std::string>{"6", "6", "1", "2"}));
    EXPECT_EQ(dialog.GetUnitsArgument(), "-uLength=m,1,6 -uAngular=\xB0,57.29578,6 "
                                         "-uPressure=mmHg,1,1 -uTemperature=\xB0"
                                         "C,1,0,2");
}

TEST_F(SelectUnitsDialogTest, ReopeningShowsTheFileNotWhatCancelLeft)
{
    Run(
        [](CDialog& d)
        {
            AfxTestSelect(d, IDC_LENGTH_UNIT, 0);
            AfxTestType(d, IDC_LENGTH_PRECISION, "2");
            AfxTestClick(d, IDOK);
        });
    Shown afterOk{};
    Run(
        [&](CDialog& d)
        {
            afterOk = Read(d);
            AfxTestSelect(d, IDC_ANGLE_UNIT, 5);
            AfxTestType(d, IDC_PRESSURE_PRECISION, "1");
            AfxTestClickCloseBox(d);
        });
    ExpectShown(afterOk, {0, 2, 3, 0}, {"2", "6", "2", "3"});
    Shown afterCancel{};
    Run(
        [&](CDialog& d)
        {
            afterCancel = Read(d);
            AfxTestClick(d, IDCANCEL);
        });
    ExpectShown(afterCancel, {0, 2, 3, 0}, {"2", "6", "2", "3"});
}

TEST_F(SelectUnitsDialogTest, SpinButtonsStayWithinTheirBounds)
{
    std::string top[4], bottom[4];
    Run(
        [&](CDialog& d)
        {
            for (int q = 0; q < 4; ++q)
            {
                for (int i = 0; i < 12; ++i)
                {
                    AfxTestClickSpin(d, kSpins[q], true);
                }
                d.GetDlgItemText(kEdits[q], top[q]);
                for (int i = 0; i < 12; ++i)
                {
                    AfxTestClickSpin(d, kSpins[q], false);
                }
                d.GetDlgItemText(kEdits[q], bottom[q]);
            }
            // The arrow keys in a precision box move it the same way.
            AfxTestType(d, IDC_PRESSURE_PRECISION, "2");
            AfxTestPressKey(d, AfxKey::Up);
            AfxTestPressKey(d, AfxKey::Up);
            AfxTestClick(d, IDOK);
        });
    EXPECT_EQ(top[0], "9");
    EXPECT_EQ(top[1], "9");
    EXPECT_EQ(top[2], "3");
    EXPECT_EQ(top[3], "3");
    for (const std::string& b : bottom)
    {
        EXPECT_EQ(b, "1");
    }
    EXPECT_EQ(FileBytes(), SettingsFile(0, 1, "192.0.2.10", {3, 1, 2, 1, 3, 3, 0, 1}));
}

TEST_F(SelectUnitsDialogTest, DamagedStoredIndexShowsNoSelectionAndFallsBackInTheArgument)
{
    WriteBytes(theSettings.GetFilePath(), SettingsFile(0, 1, "1.2.3.4", {3, 6, 40, 6, 3, 2, 0, 3}));
    int angleSelection = 0;
    Run(
        [&](CDialog& d)
        {
            angleSelection = static_cast<CComboBox*>(d.GetDlgItem(IDC_ANGLE_UNIT))->GetCurSel();
            AfxTestClick(d, IDOK);
        });
    EXPECT_EQ(angleSelection, CB_ERR);
    EXPECT_EQ(dialog.GetUnitsArgument(), "-uLength=m,1,6 -uAngular=\xB0,57.29578,6 "
                                         "-uPressure=mmHg,1,2 -uTemperature=\xB0"
                                         "C,1,0,3");
    // The store keeps what the list reported: no selection.
    EXPECT_EQ(FileBytes(), SettingsFile(0, 1, "1.2.3.4", {3, 6, -1, 6, 3, 2, 0, 3}));
}

TEST_F(SelectUnitsDialogTest, UnwritableSettingsStillEndWithOk)
{
    const std::string path = theSettings.GetFilePath();
    // A directory in the file's place: nothing can be written there.
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    EXPECT_EQ(Run([](CDialog& d) { AfxTestClick(d, IDOK); }), IDOK);
    EXPECT_NE(dialog.GetUnitsArgument(), "");
    EXPECT_TRUE(AfxMessageBoxLog().empty());
    ::rmdir(path.c_str());
}
