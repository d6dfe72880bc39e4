// The one message queue: posted messages and the backend's input, in order; WM_QUIT last.
#include "backend/backend.h"
#include "window_internal.h"

#include <deque>
#include <mutex>
#include <vector>

namespace {

std::deque<Msg> queue;
bool quit_pending = false;
int quit_code = 0;
// what other threads (the audio thread) posted, moved into the queue by the next peek
std::mutex inbox_lock;
std::vector<Msg> inbox;

void Enqueue(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUIT) {
        PostQuitMessage((int)wParam);
        return;
    }
    queue.push_back(Msg{Game_window(), message, wParam, lParam});
}

// The inbox's messages in the order they came, for windows that still exist.
void Take_inbox() {
    std::vector<Msg> taken;
    {
        std::lock_guard<std::mutex> hold(inbox_lock);
        taken.swap(inbox);
    }
    for (const Msg& m : taken)
        if (IsWindow(m.window)) queue.push_back(m);
}

} // namespace

void Post_from_any_thread(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard<std::mutex> hold(inbox_lock);
        inbox.push_back(Msg{window, message, wParam, lParam});
    }
    if (Window_backend* b = Window_service()) b->wake();
}

DWORD MsgWaitForMultipleObjects(DWORD, const void*, bool, DWORD ms, DWORD) {
    Msg msg;
    if (PeekMessage(&msg, PM_NOREMOVE)) return WAIT_OBJECT_0;
    if (Window_backend* b = Window_service()) b->wait_event(ms);
    return PeekMessage(&msg, PM_NOREMOVE) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

void Reset_messages() {
    queue.clear();
    {
        std::lock_guard<std::mutex> hold(inbox_lock);
        inbox.clear();
    }
    quit_pending = false;
    quit_code = 0;
}

bool PostMessage(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(window)) return false;
    queue.push_back(Msg{window, message, wParam, lParam});
    return true;
}

void PostQuitMessage(int exit_code) {
    quit_pending = true;
    quit_code = exit_code;
}

bool PeekMessage(Msg* msg, UINT remove) {
    if (Window_backend* b = Window_service()) b->pump(Enqueue);
    Take_inbox();
    if (!queue.empty()) {
        *msg = queue.front();
        if (remove == PM_REMOVE) queue.pop_front();
        return true;
    }
    if (quit_pending) {
        *msg = Msg{nullptr, WM_QUIT, (WPARAM)quit_code, 0};
        if (remove == PM_REMOVE) quit_pending = false;
        return true;
    }
    return false;
}

int GetMessage(Msg* msg) {
    while (!PeekMessage(msg, PM_REMOVE)) Sleep(1);
    return msg->message == WM_QUIT ? 0 : 1;
}

bool TranslateMessage(const Msg*) { return false; }

LRESULT DispatchMessage(const Msg* msg) {
    if (!msg || !IsWindow(msg->window) || !msg->window->proc) return 0;
    return msg->window->proc(msg->window, msg->message, msg->wParam, msg->lParam);
}

bool Dispatch_pending() {
    Msg msg;
    while (PeekMessage(&msg, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return false;
        }
        DispatchMessage(&msg);
    }
    return true;
}

LRESULT DefWindowProc(Window* window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    // Alt+F4 asks to close, as the desktop's own menu does
    if (message == WM_SYSKEYDOWN && wParam == VK_F1 + 3) PostMessage(window, WM_CLOSE, 0, 0);
    return 0;
}
