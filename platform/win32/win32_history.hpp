#pragma once
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

#include "core/rotating_log.hpp"
#include "platform/history.hpp"
#include "platform/win32/owners.hpp"
#include "platform/win32/win32_log_files.hpp"

namespace zvkob::win32 {

// The history in %LOCALAPPDATA%\ZV-KOB\<instance>.log, written by a thread
// of its own so that a slow disk never holds up the window; the old one
// goes to <instance>.old.log at 1 MiB (while a viewer holds the file so that
// it cannot be moved, it grows on until it can).
class Win32History : public History {
public:
    explicit Win32History(std::string_view instance);
    // Writes what is still waiting (for a few seconds at most), then stops.
    ~Win32History() override;
    Win32History(const Win32History&) = delete;
    Win32History& operator=(const Win32History&) = delete;

    void record(std::string_view event) override;
    void flush() override;
    std::string path() override { return path_; }
    std::optional<std::string> failure() override;
    Outcome open() override;

private:
    static DWORD WINAPI writer_main(void* history);
    void write_waiting_lines();

    std::string folder_;
    std::string path_;
    Win32LogFiles files_;
    RotatingLog log_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> waiting_;
    bool writing_ = false;
    bool stopping_ = false;
    std::optional<std::string> failure_;
    KernelHandle writer_;
};

}  // namespace zvkob::win32
