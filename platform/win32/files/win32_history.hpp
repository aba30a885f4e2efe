#pragma once
#include <mutex>
#include <string>

#include "core/rotating_log.hpp"
#include "platform/history.hpp"
#include "platform/win32/files/win32_log_files.hpp"
#include "platform/win32/worker_thread.hpp"

namespace zvkob::win32 {

// The history in %LOCALAPPDATA%\ZV-KOB\<instance>.log, written by a thread
// of its own (while there are lines to write) so that a slow disk never holds
// up the window; the old one goes to <instance>.old.log at 1 MiB (while a
// viewer holds the file so that it cannot be moved, it grows on until it can).
// The folder comes from %LOCALAPPDATA%, or the shell where it is not set;
// a service asks the shell alone (its environment is not a sign-in's).
enum class FolderFrom { environment, shell };

class Win32History : public History {
public:
    explicit Win32History(std::string_view instance, FolderFrom from = FolderFrom::environment);
    // Writes every line still waiting, then stops.
    ~Win32History() override;
    Win32History(const Win32History&) = delete;
    Win32History& operator=(const Win32History&) = delete;

    void record(std::string_view event) override;
    void flush() override;
    std::string path() override { return path_; }
    std::optional<std::string> failure() override;
    Outcome open() override;

private:
    void write(const std::string& line);

    std::string folder_;
    std::string path_;
    Win32LogFiles files_;
    RotatingLog log_;
    std::mutex failure_mutex_;
    std::optional<std::string> failure_;
    WorkerThread writer_;  // last: it ends before what its lines use
};

}  // namespace zvkob::win32
