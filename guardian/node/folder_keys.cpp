#include "guardian/node/folder_keys.hpp"

#include "core/folder_key.hpp"
#include "core/windows_path.hpp"

namespace zvkob {
namespace {

// Command lines name few folders; should they name many, the cache starts afresh.
constexpr std::size_t most_folders_kept = 64;

}  // namespace

FolderKeys::FolderKeys(FileSystem& files, BackgroundWork& worker, std::weak_ptr<const void> owner)
    : files_(files), worker_(worker), owner_(std::move(owner)) {}

std::string FolderKeys::key(std::string_view folder) {
    if (const auto known = keys_.find(folder); known != keys_.end()) {
        return known->second;
    }
    const std::string plain_key = folder_key(folder);
    if (keys_.size() >= most_folders_kept) {
        keys_.clear();
    }
    keys_.emplace(folder, plain_key);
    // A relative folder is the node's own working folder's business, which
    // ZV-KOB cannot know: it is compared as written.
    if (is_absolute_path(plain_folder(folder))) {
        resolve(std::string(folder));
    }
    const auto now_known = keys_.find(folder);  // a worker may answer at once
    return now_known == keys_.end() ? plain_key : now_known->second;
}

// What was judged by this copy's earlier folder is judged again.
void FolderKeys::forget(std::string_view folder) {
    if (const auto known = keys_.find(folder); known != keys_.end()) {
        keys_.erase(known);
    }
    ++generation_;
}

void FolderKeys::resolve(const std::string& folder) {
    run_in_background<std::string>(
        worker_, [&files = files_, folder] { return folder_key(files.resolve_folder(folder)); },
        [this, folder](std::string resolved) {
            const auto known = keys_.find(folder);
            if (known != keys_.end() && known->second != resolved) {
                known->second = std::move(resolved);
                ++generation_;
            }
        },
        owner_);
}

}  // namespace zvkob
