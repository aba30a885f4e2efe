#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "core/care/block_files.hpp"
#include "platform/file_system.hpp"

namespace zvkob {

// What a look at one node's block files found.
struct BlockFilesLook {
    std::string data_folder;  // empty: the node's data folder is not known
    std::string blocks_folder;
    BlockFiles files = BlockFiles::unknown;
};

// On the worker: where the node keeps its block files (from the line it was
// started with and its configuration file, as its log is found) and whether
// they are obfuscated.
BlockFilesLook look_at_block_files(FileSystem& files, std::string_view command_line);

// The antivirus hint: where this copy's node keeps its block files plain, the
// history says once per run of ZV-KOB and data folder that an antivirus may
// take them, and the status label's tooltip says it while that node runs.
// Looked at while the node's progress is shown; a blocks folder not made yet
// is looked at again a minute later.
class AntivirusHint {
public:
    static constexpr std::int64_t look_again_ms = 60'000;

    // The node followed now; 0 for none (none runs, or its progress is not shown).
    void follow(unsigned long node_id);
    unsigned long node_id() const { return node_id_; }

    // Whether the worker is to look now, for the node followed.
    bool look_due(std::int64_t now_ms) const;
    void look_started(std::int64_t now_ms);
    // The look's answer for `node_id`: the history's line the first time a
    // data folder's block files are found plain in this run of ZV-KOB, or none.
    std::optional<std::string> look_done(unsigned long node_id, const BlockFilesLook& look);

    // The tooltip's line for the node followed, or "".
    std::string tooltip_line() const;

private:
    unsigned long node_id_ = 0;
    bool looking_ = false;
    std::optional<std::int64_t> looked_ms_;
    std::optional<BlockFilesLook> found_;  // settled for the node followed
    std::set<std::string> told_;           // the data folders told of, by their folder_key
};

}  // namespace zvkob
