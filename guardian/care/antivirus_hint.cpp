#include "guardian/care/antivirus_hint.hpp"

#include "core/folder_key.hpp"
#include "core/node_log/node_log_location.hpp"
#include "core/windows_path.hpp"

namespace zvkob {

BlockFilesLook look_at_block_files(FileSystem& files, std::string_view command_line) {
    const NodeLogLocation where = node_log_location(command_line, [&files](std::string_view path) {
        return files.read_text(path, TextCoding::utf8);
    });
    BlockFilesLook look;
    if (where.blocks_folder.empty()) {
        return look;
    }
    look.data_folder = where.data_folder;
    look.blocks_folder = where.blocks_folder;
    XorKeyFile key{.blocks_folder_there = files.is_folder(where.blocks_folder)};
    const std::string key_path = path_from_folder(where.blocks_folder, "xor.dat");
    if (key.blocks_folder_there && files.is_file(key_path)) {
        key.there = true;
        const FileEnd read = files.read_end(key_path, 16);
        key.unreadable = !read.failure.empty() || !read.whole_file;
        key.key = read.text;
    }
    look.files = block_files_of(key);
    return look;
}

void AntivirusHint::follow(unsigned long node_id) {
    if (node_id != node_id_) {
        node_id_ = node_id;
        looked_ms_.reset();
        found_.reset();
    }
}

bool AntivirusHint::look_due(std::int64_t now_ms) const {
    return node_id_ != 0 && !found_ && !looking_ &&
           (!looked_ms_ || now_ms - *looked_ms_ >= look_again_ms);
}

void AntivirusHint::look_started(std::int64_t now_ms) {
    looking_ = true;
    looked_ms_ = now_ms;
}

std::optional<std::string> AntivirusHint::look_done(unsigned long node_id,
                                                    const BlockFilesLook& look) {
    looking_ = false;
    if (node_id != node_id_) {
        return std::nullopt;  // another node since: it is looked at afresh
    }
    // A node whose data folder is not known keeps it unknown: it is not looked at again.
    if (look.data_folder.empty() || look.files != BlockFiles::unknown) {
        found_ = look;
    }
    if (!plain(look.files) || !told_.insert(folder_key(look.data_folder)).second) {
        return std::nullopt;
    }
    return antivirus_hint_event(look.files, look.data_folder, look.blocks_folder);
}

std::string AntivirusHint::tooltip_line() const {
    return found_ && plain(found_->files) ? antivirus_hint_tooltip(found_->data_folder)
                                          : std::string();
}

}  // namespace zvkob
