// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/TestHooks.h"
#include "framework/qt/WindowRegistry.h"

#include "framework/core/AfxLanguage.h"
#include "framework/core/AfxResources.h"
#include "framework/qt/Language.h"
#include "framework/qt/QtBridge.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace
{
struct Hooks
{
    std::mutex mutex;
    bool testMode = false;
    std::map<UINT, AfxModalDriver> drivers;
    std::map<UINT, std::deque<AfxModalDriver>> queuedDrivers;
    int unfinished = 0;
    AfxMessageBoxHandler messageBoxHandler;
    std::deque<int> queuedAnswers;
    std::vector<AfxMessageBoxInfo> log;
    AfxPopupMenuHandler popupHandler;
    std::function<void()> waitAction;
    std::map<UINT, const ResDialogTemplate*> templates;
};

Hooks& State()
{
    static Hooks hooks;
    return hooks;
}

// The answer of a box's first button, which is what Enter would give.
int FirstButton(UINT buttons)
{
    switch (buttons)
    {
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    default:
        return IDOK;
    }
}
} // namespace

bool TestHooks::TestMode()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().testMode;
}

const ResDialogTemplate* TestHooks::FindTemplate(UINT id)
{
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        auto it = State().templates.find(id);
        if (it != State().templates.end())
        {
            return it->second;
        }
    }
    return AfxFindDialogTemplate(id);
}

AfxModalDriver TestHooks::TakeDriver(UINT templateId)
{
    Hooks& h = State();
    std::lock_guard<std::mutex> lock(h.mutex);
    auto queued = h.queuedDrivers.find(templateId);
    if (queued != h.queuedDrivers.end() && !queued->second.empty())
    {
        AfxModalDriver driver = std::move(queued->second.front());
        queued->second.pop_front();
        return driver;
    }
    auto set = h.drivers.find(templateId);
    return set != h.drivers.end() ? set->second : AfxModalDriver();
}

void TestHooks::NoteUnfinishedModal()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    ++State().unfinished;
}

bool TestHooks::AnswerMessageBox(const AfxMessageBoxInfo& info, int& answer)
{
    Hooks& h = State();
    AfxMessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> lock(h.mutex);
        if (!h.testMode && !h.messageBoxHandler && h.queuedAnswers.empty())
        {
            return false;
        }
        h.log.push_back(info);
        if (!h.queuedAnswers.empty())
        {
            answer = h.queuedAnswers.front();
            h.queuedAnswers.pop_front();
            return true;
        }
        handler = h.messageBoxHandler;
    }
    // Called unlocked: a handler may well queue the next answer.
    answer = handler ? handler(info) : FirstButton(info.buttons);
    return true;
}

bool TestHooks::AnswerPopupMenu(const std::vector<AfxMenuItemInfo>& items, UINT& chosen)
{
    AfxPopupMenuHandler handler;
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        if (!State().testMode && !State().popupHandler)
        {
            return false;
        }
        handler = State().popupHandler;
    }
    chosen = handler ? handler(items) : 0;
    return true;
}

AfxPopupMenuHandler TestHooks::ExchangePopupHandler(AfxPopupMenuHandler handler)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    std::swap(State().popupHandler, handler);
    return handler;
}

// ---- the seams as tests see them

void AfxSetTestMode(bool on)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().testMode = on;
}

bool AfxIsTestMode()
{
    return TestHooks::TestMode();
}

void AfxEnsureWindowSystem()
{
    QtBridge::EnsureApplication();
}

bool AfxTestUseLanguage(const std::string& name)
{
    const bool known = name == "en" || AfxFindLanguage(name.c_str()) != nullptr;
    AfxLanguage::Choose({known ? name : "en"});
    Language::ApplyToToolkit();
    return known && AfxLanguage::Active() == name;
}

void AfxTestUseTexts(const std::string& name, const std::map<std::string, std::string>& texts)
{
    AfxLanguage::Use(name, texts);
    Language::ApplyToToolkit();
}

void AfxRegisterDialogTemplate(const ResDialogTemplate* tmpl)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().templates[tmpl->id] = tmpl;
}

void AfxSetModalDriver(UINT templateId, AfxModalDriver driver)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    if (driver)
    {
        State().drivers[templateId] = std::move(driver);
    }
    else
    {
        State().drivers.erase(templateId);
    }
}

void AfxQueueModalDriver(UINT templateId, AfxModalDriver driver)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().queuedDrivers[templateId].push_back(std::move(driver));
}

void AfxClearModalDrivers()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().drivers.clear();
    State().queuedDrivers.clear();
    State().unfinished = 0;
}

int AfxUnfinishedModalCount()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().unfinished;
}

void AfxSetMessageBoxHandler(AfxMessageBoxHandler handler)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().messageBoxHandler = std::move(handler);
}

void AfxQueueMessageBoxAnswer(int answer)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().queuedAnswers.push_back(answer);
}

std::vector<AfxMessageBoxInfo> AfxMessageBoxLog()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().log;
}

void AfxClearMessageBoxLog()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().log.clear();
    State().queuedAnswers.clear();
}

std::function<void()> TestHooks::TakeWaitAction()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    return std::exchange(State().waitAction, nullptr);
}

void AfxTestDuringNextWait(std::function<void()> action)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().waitAction = std::move(action);
}

void AfxSetPopupMenuHandler(AfxPopupMenuHandler handler)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().popupHandler = std::move(handler);
}

bool AfxPumpEvents(const std::function<bool()>& until, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (until && until())
        {
            return true;
        }
        if (timer.elapsed() >= timeoutMs)
        {
            return false;
        }
        // Rest only when nothing waits: a burst of posted messages is
        // delivered a slice per pass, back to back.
        if (WindowRegistry::PostedCount() == 0)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

void AfxPumpEvents()
{
    // Posted window messages are delivered a slice per pass: as many passes
    // as the messages pending now need, and no more, so that a thread that
    // keeps posting cannot keep the caller here.
    const std::size_t passes = WindowRegistry::PostedCount() / WindowRegistry::kPostedSlice + 1;
    for (std::size_t i = 0; i < passes; ++i)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}
