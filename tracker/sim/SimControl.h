// SPDX-License-Identifier: Apache-2.0
// The simulated tracker network's control panel, for tests and benchmarks
// only: program code never includes it. Every function is thread-safe.
//
// The network starts with the built-in instruments (see Reset). A test
// typically turns automatic events off, states what an instrument offers and
// which calls fail, drives events itself, and reads back the calls received.
#ifndef KELM_TRACKER_SIM_SIMCONTROL_H
#define KELM_TRACKER_SIM_SIMCONTROL_H

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Exported from the simulated library like the interface itself.
#pragma GCC visibility push(default)
namespace TrackerSim
{
// Which exception a call throws.
enum class Fault
{
    None,
    Tracker,            // TrackerException
    UserPrompt,         // UserPromptException
    AsyncAlreadyStarted // AsyncAlreadyStartedException
};

struct Instrument
{
    std::string type = "TrackerLintel";
    // What availableApplications returns; nullopt: a null array.
    std::optional<std::vector<std::string>> offered = std::vector<std::string>{};
    // Failing calls, by call name ("connect", "startAsync", ...) or by call
    // name, a space and an application name ("stopApplicationFrame
    // StatusReport"; the name compared without regard to case).
    // "startedApplications" may fail too, although callers rely on it not
    // to: tests use it to show that the program survives a library that does.
    std::map<std::string, Fault> faults;
    // Application events name the application with the case of every ASCII
    // letter swapped from the name offered ("readinesstest" runs as
    // "READINESSTEST").
    bool swapsEventCase = false;
    // How long the instrument takes to answer: connect (whether it then
    // succeeds or fails), and each call that asks it to act (disconnect, the
    // starts, stops and unit changes of applications, the asynchronous
    // messages' start and stop). Questions and listener changes take no time.
    std::chrono::milliseconds connectTime{0};
    std::chrono::milliseconds actionTime{0};
};

// The built-in instruments, automatic events on, a run time of ten seconds,
// the trace to standard error, calls recorded from now on (none yet). Live
// Tracker objects keep their state; instruments are looked up at each call.
void Reset();

// Defines or replaces the instrument at address.
void DefineInstrument(const std::string& address, const Instrument& instrument);
// The instruments Reset restores, by address: what the README's table lists.
std::map<std::string, Instrument> BuiltInInstruments();
// Makes call (as in Instrument::faults) fail at address; Fault::None heals it.
// The address "" stands for every Tracker not connected yet, whose calls
// (setBlocking before connect, above all) reach no instrument.
void SetFault(const std::string& address, const std::string& call, Fault fault);
// What startedApplications returns at address, overriding the running
// applications: nullopt clears the override; an inner nullopt is a null array.
void SetStartedApplications(const std::string& address,
                            std::optional<std::optional<std::vector<std::string>>> started);

// On: every Tracker constructed from now on throws TrackerException from its
// constructor (traced like a call). Reset turns it off.
void SetConstructionFails(bool fails);

// Off: starting an application produces no event and it runs until stopped;
// only Emit* produce events.
void SetAutomaticEvents(bool on);
// How long a started application runs before it reports that it stopped.
void SetRunTime(std::chrono::milliseconds runTime);

// Events for every connected Tracker of address, delivered on its thread.
void EmitBusy(const std::string& address, bool command, bool measure);
void EmitApplication(const std::string& address, const std::string& name, bool running);
// Ends the running application name (compared without regard to case) at
// address before its run time is over: it reports that it stopped, in the
// instrument's own spelling, as at the end of its run time.
void EndApplication(const std::string& address, const std::string& name);
// Waits until every queued event has been delivered (not counting those of
// applications still to stop by their run time); false on timeout.
bool WaitForEvents(std::chrono::milliseconds timeout = std::chrono::seconds(5));

// The trace lines of the calls received (not of events), oldest first, as
// far as they were recorded. A process that never asks keeps none: recording
// is off until Reset or SetCallRecording turns it on, so that a long run
// does not keep every call it ever made.
std::vector<std::string> Calls();
void ClearCalls();
// On: every call from now on is kept for Calls. Off: none is kept (those
// already kept stay until ClearCalls).
void SetCallRecording(bool on);
// Receives every trace line (calls and events) instead of standard error;
// null puts standard error back.
void SetTraceSink(std::function<void(const std::string& line)> sink);
} // namespace TrackerSim
#pragma GCC visibility pop

#endif
