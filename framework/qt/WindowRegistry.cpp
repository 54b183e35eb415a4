// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/WindowRegistry.h"

#include "framework/dialogs/CButton.h"
#include "framework/dialogs/CComboBox.h"
#include "framework/dialogs/CDialog.h"
#include "framework/dialogs/CEdit.h"
#include "framework/dialogs/CListBox.h"
#include "framework/dialogs/CSpinButtonCtrl.h"
#include "framework/dialogs/CStatic.h"
#include "framework/qt/ControlOps.h"
#include "framework/qt/MessageDispatcher.h"
#include "framework/qt/WindowWait.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace
{
struct PostedMessage
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Everything another thread may touch: which handles are alive, the queue
// of posted messages, and the object that wakes the window thread.
struct Shared
{
    std::mutex mutex;
    std::unordered_map<HWND, WindowRecord*> windows;
    std::deque<PostedMessage> posted;
    QObject* dispatcher = nullptr;
    bool wakePending = false;
};

Shared& State()
{
    static Shared shared;
    return shared;
}

// The thread that creates and destroys every window. Only it changes the
// map of windows, so it may read the map without the lock; other threads
// take the lock to read it.
std::atomic<std::thread::id> g_windowThread{};

bool OnWindowThread()
{
    return g_windowThread.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

std::vector<DialogState*>& ModalStack()
{
    static std::vector<DialogState*> stack;
    return stack;
}

const char* const kHandleProperty = "kelmHwnd";
} // namespace

HWND WindowRegistry::NewHandle()
{
    // Never reused, so a stale handle cannot reach a newer window.
    static std::atomic<std::uintptr_t> next{0x10000};
    return reinterpret_cast<HWND>(next.fetch_add(4));
}

void WindowRegistry::Add(WindowRecord* record)
{
    if (record->widget)
    {
        record->widget->setProperty(kHandleProperty,
                                    QVariant::fromValue(reinterpret_cast<quintptr>(record->hwnd)));
    }
    std::lock_guard<std::mutex> lock(State().mutex);
    State().windows[record->hwnd] = record;
}

void WindowRegistry::Remove(HWND hwnd)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().windows.erase(hwnd);
}

WindowRecord* WindowRegistry::Find(HWND hwnd)
{
    if (hwnd == nullptr)
    {
        return nullptr;
    }
    Shared& shared = State();
    if (OnWindowThread())
    {
        auto it = shared.windows.find(hwnd);
        return it == shared.windows.end() ? nullptr : it->second;
    }
    std::lock_guard<std::mutex> lock(shared.mutex);
    auto it = shared.windows.find(hwnd);
    return it == shared.windows.end() ? nullptr : it->second;
}

bool WindowRegistry::IsAlive(HWND hwnd)
{
    return Find(hwnd) != nullptr;
}

WindowRecord* WindowRegistry::FromWidget(const QWidget* widget)
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget())
    {
        QVariant handle = w->property(kHandleProperty);
        if (handle.isValid())
        {
            return Find(reinterpret_cast<HWND>(handle.value<quintptr>()));
        }
    }
    return nullptr;
}

WindowRecord* WindowRegistry::FindControl(const DialogState* dialog, int id)
{
    if (dialog == nullptr)
    {
        return nullptr;
    }
    for (const auto& control : dialog->controls)
    {
        if (control->id == id)
        {
            return control.get();
        }
    }
    return nullptr;
}

CWnd* WindowRegistry::ObjectOf(WindowRecord* record)
{
    if (record == nullptr)
    {
        return nullptr;
    }
    if (record->bound != nullptr)
    {
        return record->bound;
    }
    if (!record->wrapper)
    {
        switch (record->kind)
        {
        case WindowKind::PushButton:
        case WindowKind::RadioButton:
        case WindowKind::CheckBox:
        case WindowKind::GroupBox:
            record->wrapper = std::make_unique<CButton>();
            break;
        case WindowKind::Edit:
            record->wrapper = std::make_unique<CEdit>();
            break;
        case WindowKind::ComboBox:
            record->wrapper = std::make_unique<CComboBox>();
            break;
        case WindowKind::ListBox:
            record->wrapper = std::make_unique<CListBox>();
            break;
        case WindowKind::UpDown:
            record->wrapper = std::make_unique<CSpinButtonCtrl>();
            break;
        case WindowKind::Static:
        case WindowKind::Icon:
            record->wrapper = std::make_unique<CStatic>();
            break;
        default:
            record->wrapper = std::make_unique<CWnd>();
            break;
        }
        record->wrapper->m_hWnd = record->hwnd;
    }
    return record->wrapper.get();
}

void WindowRegistry::PushModal(DialogState* dialog)
{
    ModalStack().push_back(dialog);
}

void WindowRegistry::PopModal(DialogState* dialog)
{
    auto& stack = ModalStack();
    stack.erase(std::remove(stack.begin(), stack.end(), dialog), stack.end());
}

DialogState* WindowRegistry::ActiveModal()
{
    return ModalStack().empty() ? nullptr : ModalStack().back();
}

bool WindowRegistry::Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Shared& shared = State();
    std::lock_guard<std::mutex> lock(shared.mutex);
    if (shared.windows.find(hwnd) == shared.windows.end() || shared.dispatcher == nullptr)
    {
        return false;
    }
    shared.posted.push_back({hwnd, message, wParam, lParam});
    if (!shared.wakePending)
    {
        shared.wakePending = true;
        QCoreApplication::postEvent(shared.dispatcher, new QEvent(MessageDispatcher::kWakeEvent));
    }
    return true;
}

void WindowRegistry::DeliverPosted()
{
    if (WindowWait::Waiting())
    {
        // Nothing wakes the window thread for these until the wait is over.
        std::lock_guard<std::mutex> lock(State().mutex);
        State().wakePending = true;
        return;
    }
    // A slice at a time: a burst from another thread must not keep the
    // operator's clicks and the painting waiting behind it. What is left
    // wakes the window thread again, after the events queued meanwhile.
    std::deque<PostedMessage> slice;
    {
        Shared& shared = State();
        std::lock_guard<std::mutex> lock(shared.mutex);
        const std::size_t count = std::min(kPostedSlice, shared.posted.size());
        const auto end = shared.posted.begin() + static_cast<std::ptrdiff_t>(count);
        slice.assign(shared.posted.begin(), end);
        shared.posted.erase(shared.posted.begin(), end);
        shared.wakePending = !shared.posted.empty() && shared.dispatcher != nullptr;
        if (shared.wakePending)
        {
            QCoreApplication::postEvent(shared.dispatcher,
                                        new QEvent(MessageDispatcher::kWakeEvent));
        }
    }
    for (const PostedMessage& next : slice)
    {
        // Windows are destroyed on this thread only, so a window found
        // alive here stays alive while its handler runs.
        if (Find(next.hwnd) != nullptr)
        {
            Send(next.hwnd, next.message, next.wParam, next.lParam);
        }
    }
}

void WindowRegistry::ReleasePosted()
{
    Shared& shared = State();
    std::lock_guard<std::mutex> lock(shared.mutex);
    shared.wakePending = !shared.posted.empty() && shared.dispatcher != nullptr;
    if (shared.wakePending)
    {
        QCoreApplication::postEvent(shared.dispatcher, new QEvent(MessageDispatcher::kWakeEvent));
    }
}

void WindowRegistry::SendOrHold(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!WindowWait::Waiting() || !Post(hwnd, message, wParam, lParam))
    {
        Send(hwnd, message, wParam, lParam);
    }
}

std::size_t WindowRegistry::PostedCount()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().posted.size();
}

void WindowRegistry::SetDispatcher(QObject* dispatcher)
{
    // The dispatcher is installed on the window thread.
    if (dispatcher != nullptr)
    {
        g_windowThread.store(std::this_thread::get_id());
    }
    std::lock_guard<std::mutex> lock(State().mutex);
    State().dispatcher = dispatcher;
    State().wakePending = false;
}

LRESULT WindowRegistry::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowRecord* record = Find(hwnd);
    if (record == nullptr)
    {
        return 0;
    }
    if (record->kind == WindowKind::Dialog)
    {
        return record->bound != nullptr ? record->bound->WindowProc(message, wParam, lParam) : 0;
    }
    return ControlOps::Message(record, message, wParam, lParam);
}
