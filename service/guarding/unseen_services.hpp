#pragma once
// What a service has none of: no window, no desktop, no clipboard, no other
// copy to ask (the copies' question goes between windows of one session).
// The guardian's flows that reach for these find them quiet, and say in the
// history what they could not do.
#include "platform/clipboard.hpp"
#include "platform/folder_picker.hpp"
#include "platform/other_copies.hpp"
#include "platform/window_manager.hpp"

#include <optional>
#include <string>
#include <utility>

namespace zvkob {

class NoWindows : public WindowManager {
public:
    WindowHandle main_window() override { return 0; }
    void set_shutdown_level(unsigned) override {}
    WindowHandle foreground_window() override { return 0; }
    void place_topmost(WindowHandle, bool) override {}
    void show_settings_window(HandOverReceiver&) override {}
    void close_settings_window() override {}
    void close_main_window() override {}
    void flash_main_window() override {}
    void hold_session_end(std::string_view) override {}
    void release_session_end() override {}
};

class NoOtherCopies : public OtherCopies {
public:
    CopiesAnswer who_holds(unsigned long, std::uint32_t) override {
        return CopiesAnswer::none_holds_it;
    }
    unsigned long news() const override { return 0; }
    void tell_others() override {}
};

// The service shows no dialog: the folder is the one chosen in the window
// beside it, given once.
class GivenFolderPicker : public FolderPicker {
public:
    void give(std::string folder) { given_ = std::move(folder); }
    FolderChoice pick(std::string_view, std::string_view) override {
        if (!given_) {
            return {std::nullopt, "a service shows no dialog"};
        }
        return {std::exchange(given_, std::nullopt), {}};
    }

private:
    std::optional<std::string> given_;
};

class NoClipboard : public Clipboard {
public:
    ClipboardPut put_text(std::string_view) override {
        return {ClipboardPut::Result::failed, "a service has no clipboard"};
    }
};

}  // namespace zvkob
