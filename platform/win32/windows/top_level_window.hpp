#pragma once
#include <windows.h>

#include "core/control_table.hpp"

namespace zvkob::win32 {

// The window class of both windows.
inline constexpr wchar_t window_class[] = L"ZV-KOB.Window";

// Answers the messages of one window.
class MessageHandler {
public:
    virtual LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) = 0;

protected:
    ~MessageHandler() = default;
};

// One top-level window of ZV-KOB's window class. Every message it gets, from
// WM_NCCREATE to WM_NCDESTROY, goes to its handler; after WM_NCDESTROY it no
// longer exists.
class TopLevelWindow {
public:
    explicit TopLevelWindow(MessageHandler& handler) : handler_(handler) {}
    ~TopLevelWindow();
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;

    // Creates the window from its design, hidden; throws when Windows cannot.
    void create(const WindowSpec& design, HWND owner);
    void destroy();

    HWND handle() const { return hwnd_; }
    bool exists() const { return hwnd_ != nullptr; }

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    MessageHandler& handler_;
    HWND hwnd_ = nullptr;
};

}  // namespace zvkob::win32
