// SPDX-License-Identifier: Apache-2.0
// A small model of the main window, fed with the journal of a walk: from the
// tracker calls the window made and their outcomes, the events its listeners
// received, the posted messages it handled, its message boxes and the
// dialogs' choices, it works out what the window must show (the Connect
// caption, which application buttons are shown and enabled, the units
// argument), what the settings file must hold, which message each failure
// must bring, and that the tracker's objects, listeners and applications are
// released. Window thread only.
//
// Notes the walk and its drivers write (WalkEntry::Kind::Note):
//   "step"             a step begins
//   "window-started"   a main window has been initialised
//   "window-ended"     it has closed
//   "run-time"         numbers {ms}: applications started from now on run so long
//   "automatic"        numbers {0 or 1}: whether started applications report and stop
//   "connect-opened"   Connect to Tracker has opened (it reloads the settings)
//   "connect-choice"   numbers {user index, 1 when Corvo is checked}, strings {octet texts x4}
//   "password"         strings {a password the operator typed}
//   "units-opened"     Select Units has opened (it reloads the settings)
//   "units-closed"     numbers {result (IDOK, IDCANCEL or 0 when not known), unit x4,
//                      precision value x4, listener calls running}, strings {precision
//                      text x4}
#ifndef KELM_TESTS_WALK_WALKMODEL_H
#define KELM_TESTS_WALK_WALKMODEL_H

#include "tests/walk/WalkJournal.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

class CDialog;

class WalkModel
{
public:
    using Offered = std::optional<std::vector<std::string>>;
    using Clock = std::chrono::steady_clock;

    // What each instrument offers, by address.
    explicit WalkModel(std::map<std::string, Offered> offered);

    void Apply(const std::vector<WalkEntry>& entries);
    // WM_OTHER_APP_STATE messages the window's listeners posted that it has
    // not handled yet. (A WM_APP_STATE answers every event before it, so the
    // window itself says whether one is still on its way.)
    bool MessagesOutstanding() const { return !m_expectedPosts.empty(); }
    // Which, as text.
    std::string Outstanding() const;
    // After a step, with the window's units argument: settles what the step
    // left open. Window open: the window must match the model.
    void EndStep(bool windowOpen, const std::string& unitsArgument);
    // The window against the model: what differs.
    std::vector<std::string> Compare(CDialog& window) const;
    // The settings file in dir against the model: what differs.
    std::vector<std::string> CheckSettingsFile(const std::string& dir) const;
    // After the last window has gone: every Tracker released.
    void EndWalk();

    std::vector<std::string> TakeFailures();
    bool Connected() const { return m_connected; }
    const std::string& Address() const { return m_address; }
    int Constructions() const { return m_constructions; }
    int Destructions() const { return m_destructions; }

private:
    struct Button
    {
        bool visible = false;
        bool ruled = false; // follows the running-and-busy rule
        bool enabled = false;
    };
    struct Record
    {
        long user = 0;
        long type = 1;
        std::string address = "192.0.2.10";
        long units[8] = {3, 6, 2, 6, 3, 1, 0, 3};
    };
    struct Started
    {
        std::string name;
        Clock::time_point notBefore;
        std::chrono::milliseconds runTime;
        bool automatic;
    };
    struct Closing
    {
        bool active = false;
        bool known = false; // startedApplications answered
        Clock::time_point at;
        std::vector<Started> running;
        std::vector<std::string> stopped;
        bool asked = false;
        bool declined = false;
        bool removed = false;
    };
    struct Posted
    {
        unsigned message;
        long wParam;
        long lParam;
    };
    // The running table applications a confirmed units change must reach:
    // those running when Select Units closed, give or take those whose own
    // events came meanwhile.
    struct ModifyCheck
    {
        bool active = false;
        std::vector<int> expected;
        std::vector<int> changed;
        std::vector<int> seen;
    };
    struct UnitsChoice
    {
        std::string argument;
        long units[8];
    };

    void Fail(const std::string& failure);
    void OnCall(const WalkEntry& e);
    void OnBox(const WalkEntry& e);
    void OnNote(const WalkEntry& e);
    void OnBusy(const WalkEntry& e);
    void OnApp(const WalkEntry& e);
    void OnHandled(const WalkEntry& e);
    void ExpectBox(const std::string& call, const std::string& exception);
    void ReleaseTracker();
    void FinishClosing(const std::string& by);
    void FinishModify();
    bool MayHaveStopped(const Started& app, Clock::time_point at) const;
    void ResetWindow();
    void LoadFromFile();
    bool Rule(int button) const;
    std::string Expected(const Button& b, int index) const;

    std::map<std::string, Offered> m_offered;
    std::vector<std::string> m_failures;

    // The window.
    bool m_windowOpen = false;
    std::string m_caption;
    Button m_buttons[12]; // 5000 to 5010, then 5012
    bool m_running[11] = {};
    bool m_busy = false;
    std::vector<std::string> m_others;
    std::vector<Posted> m_expectedPosts;
    // Busy and table events, and the WM_APP_STATE messages that answered them.
    long m_stateEvents = 0;
    long m_stateHandled = 0;
    std::string m_unitsArgument;
    std::optional<UnitsChoice> m_unitsUndecided; // old argument kept meanwhile
    ModifyCheck m_modify;

    // The tracker.
    bool m_trackerLive = false;
    bool m_connected = false;
    std::string m_address;
    int m_constructions = 0;
    int m_destructions = 0;
    int m_addTries[2] = {};
    int m_adds[2] = {};
    int m_removes[2] = {};
    bool m_listening[2] = {}; // application, busy
    bool m_releasePending = false;
    std::vector<Started> m_onInstrument;
    Closing m_closing;
    std::optional<std::string> m_pendingBox;
    std::string m_pendingBoxFor;

    // What the walk said.
    Clock::time_point m_stepBegan;
    std::chrono::milliseconds m_runTime{10000};
    bool m_automatic = true;
    int m_connectUser = 0;
    bool m_connectCorvo = false;
    std::vector<std::string> m_connectOctets;
    std::vector<std::string> m_passwords;

    // The settings: in memory and in the file.
    Record m_memory;
    std::optional<Record> m_file;
};

#endif
