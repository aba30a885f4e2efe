#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/background_work.hpp"
#include "platform/file_system.hpp"

namespace zvkob {

// The forms folders are compared by: this copy's data folder and those the
// nodes' command lines name. A folder is first compared by its plain form
// (core/folder_key); meanwhile the worker asks Windows for its full name (the
// long name of an 8.3 one, a mapped drive's network path), which is used from
// then on. Windows is never asked on the window's thread: a network path may
// take half a minute to answer.
class FolderKeys {
public:
    FolderKeys(FileSystem& files, BackgroundWork& worker, std::weak_ptr<const void> owner);

    // The form `folder` is compared by, now. An empty folder gives an empty key.
    std::string key(std::string_view folder);
    // Asks Windows about `folder` afresh (this copy's data folder is set anew).
    void forget(std::string_view folder);
    // Changes each time an answer changes a key: what was judged by the
    // earlier key is judged again.
    unsigned long generation() const { return generation_; }

private:
    void resolve(const std::string& folder);

    FileSystem& files_;
    BackgroundWork& worker_;
    std::weak_ptr<const void> owner_;
    std::map<std::string, std::string, std::less<>> keys_;  // folder as written -> key
    unsigned long generation_ = 0;
};

}  // namespace zvkob
