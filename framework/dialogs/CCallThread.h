// SPDX-License-Identifier: Apache-2.0
// A thread of its own (started by the first call) that makes calls for the
// window thread, one at a time, while the window waits for each. Everything
// a library may tie to the thread that first called it (a connection, above
// all) is called from this one thread, from its construction to its
// deletion.
//
// While the window waits, it keeps painting and answering the window
// manager and assistive tools, and shows itself busy to them; it takes no
// input. The operator's keys, clicks and close requests, the windows' posted
// messages and the controls' notifications are held, in their order, and
// handled once the call has returned. So a handler that calls reads as
// before: each call returns before the next, and no other handler runs in
// between. An exception thrown by the call is thrown again by Call, with its
// type.
#ifndef KELM_FRAMEWORK_CCALLTHREAD_H
#define KELM_FRAMEWORK_CCALLTHREAD_H

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

class CCallThread
{
public:
    CCallThread();
    // Waits for the thread to end; no call is pending then, as Call waits.
    ~CCallThread();
    CCallThread(const CCallThread&) = delete;
    CCallThread& operator=(const CCallThread&) = delete;

    // Makes the call on the thread while the window waits (on the window
    // thread; elsewhere, or with no window system, it simply blocks).
    void Call(const std::function<void()>& work);
    // Makes the call on the thread and blocks: for a window being torn down,
    // which has nothing left to answer with.
    void CallAndBlock(const std::function<void()>& work);

    struct Job;

private:
    void Run();
    void Queue(Job& job);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job*> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};

#endif
