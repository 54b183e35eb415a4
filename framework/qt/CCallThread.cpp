// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CCallThread.h"

#include "framework/qt/TestHooks.h"
#include "framework/qt/WindowWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

struct CCallThread::Job
{
    explicit Job(const std::function<void()>& call) : work(call) {}

    const std::function<void()>& work;
    std::exception_ptr error;
    bool done = false;
    // The window thread's wait, woken when done; null: a blocked caller,
    // woken through the thread's condition.
    QEventLoop* loop = nullptr;
};

CCallThread::CCallThread() = default;

CCallThread::~CCallThread()
{
    if (!m_thread.joinable())
    {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CCallThread::Call(const std::function<void()>& work)
{
    const QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread())
    {
        CallAndBlock(work);
        return;
    }
    Job job(work);
    QEventLoop loop;
    job.loop = &loop;
    WindowWait::Scope waiting;
    Queue(job);
    if (std::function<void()> action = TestHooks::TakeWaitAction())
    {
        action();
    }
    // Paint, the window manager's ping, the accessibility bus and the
    // library's posted events go on; input stays queued in the toolkit
    // until the call is over. The loop is left only when the call is done,
    // whatever else may quit it meanwhile.
    for (;;)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (job.done)
            {
                break;
            }
        }
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (job.error)
    {
        std::rethrow_exception(job.error);
    }
}

void CCallThread::CallAndBlock(const std::function<void()>& work)
{
    Job job(work);
    Queue(job);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [&] { return job.done; });
    if (job.error)
    {
        std::rethrow_exception(job.error);
    }
}

void CCallThread::Queue(Job& job)
{
    // Started by the first call, so that a window that never calls (one
    // opened and closed without connecting) costs no thread.
    if (!m_thread.joinable())
    {
        m_thread = std::thread([this] { Run(); });
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(&job);
    }
    m_wake.notify_all();
}

void CCallThread::Run()
{
    for (;;)
    {
        Job* job = nullptr;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty())
            {
                return;
            }
            job = m_jobs.front();
            m_jobs.pop_front();
        }
        try
        {
            job->work();
        }
        catch (...)
        {
            job->error = std::current_exception();
        }
        // Under the lock: the waiter leaves (and its loop goes) only once
        // it sees done, by which time the wake is posted.
        std::lock_guard<std::mutex> lock(m_mutex);
        job->done = true;
        if (job->loop != nullptr)
        {
            // By name: the toolkit builds the queued call itself, so nothing
            // of ours passes between the threads but through the lock.
            QMetaObject::invokeMethod(job->loop, "quit", Qt::QueuedConnection);
        }
        else
        {
            m_wake.notify_all();
        }
    }
}
