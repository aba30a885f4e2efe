#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/other_copies.hpp"

namespace zvkob::win32 {

// The message copies of ZV-KOB ask each other's main windows with: its
// WPARAM is a process number, its LPARAM the asker's folder mark, and the
// answer is holder_answer's.
UINT which_node_message();
// The message a copy broadcasts when it opens or closes, or takes a node or
// lets one go; its WPARAM is the copy's process number.
UINT copies_news_message();

// Whether this copy holds a process as its node: its folder mark when it does.
using NodeClaim = std::function<std::optional<std::uint32_t>(unsigned long process_id)>;

// Asks the main windows of the other copies of ZV-KOB in this session, and
// answers theirs.
class Win32OtherCopies : public OtherCopies {
public:
    Win32OtherCopies() = default;
    // Tells the others that this copy has closed: by now its window is gone,
    // so whoever asks again hears nothing of it.
    ~Win32OtherCopies() override;
    Win32OtherCopies(const Win32OtherCopies&) = delete;
    Win32OtherCopies& operator=(const Win32OtherCopies&) = delete;

    // The copy's main window is there: the copies' messages are let through
    // its message filter (a copy that runs elevated and one that does not may
    // then ask each other), and the others are told that it opened.
    void open_to_others(HWND main_window);
    // The answer to a copies' message to the main window, `claim` telling
    // which nodes this copy holds; nothing for any other message.
    std::optional<LRESULT> answer(UINT message, WPARAM wparam, LPARAM lparam,
                                  const NodeClaim& claim);

    CopiesAnswer who_holds(unsigned long process_id, std::uint32_t folder_mark) override;
    unsigned long news() const override { return news_; }
    void tell_others() override;

private:
    bool opened_ = false;
    unsigned long news_ = 0;
};

}  // namespace zvkob::win32
