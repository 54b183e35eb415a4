// SPDX-License-Identifier: Apache-2.0
// A random operator at the real main window, against the simulated tracker:
// each step is one thing an operator can do (a button, shown or not, a
// mnemonic, Enter, Escape, the close box, the system menu) or one thing the
// instruments do meanwhile (busy and application events from the library's
// threads, calls made to fail, applications running out). Every dialog that
// opens is driven the same way: its edits typed into, garbage included, its
// lists chosen from, its buttons pressed; every message box gets one of its
// answers. After each step the window is compared with WalkModel; when the
// main window closes, another starts, as the program's next run would, until
// the steps are done and the last window is closed for good.
//
// Everything is drawn from the seed, step by step, so a seed replays its walk
// (up to the timing of the library's threads, which the model allows for).
#ifndef KELM_TESTS_WALK_OPERATORWALK_H
#define KELM_TESTS_WALK_OPERATORWALK_H

#include "tests/walk/WalkJournal.h"
#include "tests/walk/WalkModel.h"
#include "tests/walk/WalkRandom.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDialog;
class WatchedMainWindow;

class OperatorWalk
{
public:
    // Makes each main window the walk opens.
    using WindowMaker = std::function<std::unique_ptr<WatchedMainWindow>(WalkJournal&)>;

    // A walk of the program's main window; another maker walks another
    // window, e.g. one broken on purpose to show that the walk notices.
    OperatorWalk(std::uint64_t seed, int steps, WindowMaker makeWindow = nullptr);
    ~OperatorWalk();
    OperatorWalk(const OperatorWalk&) = delete;
    OperatorWalk& operator=(const OperatorWalk&) = delete;

    // Runs the whole walk; true when the window kept to the model throughout.
    // Needs the simulated tracker freshly reset and no settings file.
    bool Run();
    // The seed, how to replay it, what failed and every step taken.
    std::string Report() const;
    int StepsTaken() const { return m_step; }
    int Windows() const { return m_windows; }
    int Connections() const { return m_model.Constructions(); }

private:
    void Session();
    void Step(CDialog& window);
    void CloseForGood(CDialog& window);
    // Lets the library's events and the window's posted messages settle,
    // then holds the window and the settings file against the model.
    void Check(CDialog* window);
    void Log(const std::string& line);
    void Fail(const std::string& failure);

    // What the operator does in each dialog.
    void DriveConnect(CDialog& d);
    void DriveSelectUnits(CDialog& d);
    void DriveOtherApps(CDialog& d);
    void DriveAbout(CDialog& d);
    // Presses keys or buttons until the dialog has closed; false when it
    // would not.
    bool Finish(CDialog& d, const char* name);
    void NoteConnectChoice(CDialog& d);
    int UnitsResultOf(CDialog& d, int action);

    // Things of the instruments and the library.
    void EmitSomething();
    void InjectFault();
    std::string SomeAddress();
    std::string Password();
    std::string OctetText(int field);
    std::string PrecisionText();
    // How an operator puts text into an edit: "type", "paste" or "commit"
    // (an input method's), and doing it; false when the edit is not usable.
    std::string SomeWayToEnter();
    static bool Enter(CDialog& d, int id, const std::string& text, const std::string& way);

    int AnswerBox(const AfxMessageBoxInfo& info);

    const std::uint64_t m_seed;
    const int m_steps;
    WindowMaker m_makeWindow;
    int m_step = 0;
    int m_windows = 0;
    WalkRandom m_random;    // this step's draws
    WalkRandom m_boxRandom; // this step's answers to message boxes
    bool m_closingForGood = false;
    int m_constructionFailsUntil = -1;
    WalkJournal m_journal;
    WalkModel m_model;
    WatchedMainWindow* m_window = nullptr;
    std::string m_settingsDir;
    std::vector<std::string> m_log;
    std::vector<std::string> m_failures;
    int m_answered = 0;
};

#endif
