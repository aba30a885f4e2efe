#include "core/node_log/node_log_signs.hpp"

#include <algorithm>
#include <array>
#include <span>

namespace zvkob {
namespace {

using Phrases = std::span<const std::string_view>;
using std::string_view_literals::operator""sv;

// Each wording is one line: what the node writes, in any version or fork.
constexpr std::array hard_beginnings = {"*** "sv};
constexpr std::array hard_phrases = {
    "A fatal internal error occurred"sv,
    "Fatal LevelDB error"sv,
    "LevelDB read failure"sv,
    "Corrupted block database detected"sv,
    "Error reading from database"sv,
    "Disk space is too low"sv,
    "Disk space is low!"sv,  // up to 0.18
    "Shutting down due to lack of disk space"sv,
    "Assertion `"sv,
    "Assertion failed"sv,
};
constexpr std::array soft_beginnings = {"Error: "sv, "EXCEPTION: "sv};

// A start that failed, as the console front-end writes it (an empty caption
// before the colon) or as an error box.
constexpr std::array start_failure_captions = {": "sv, "Error: "sv};
// Dash and its forks also fail on their own database (dashpay/dash
// src/node/chainstate.cpp), as in the log of btcpayserver/btcpayserver#5036.
constexpr std::array start_failures = {
    "Error loading block database"sv,        "Error opening block database"sv,
    "Error initializing block database"sv,   "Corrupted block database detected"sv,
    "Incorrect or no genesis block found"sv, "You need to rebuild the database using -reindex"sv,
    "Error upgrading chainstate database"sv, "Error upgrading evo database"sv,
    "Failed to upgrade Evo database"sv,      "Unable to replay blocks"sv,
};

constexpr std::array disk_full_phrases = {
    "No space left on device"sv,
    "There is not enough space on the disk"sv,  // Windows' own text
};
constexpr std::array failing_device_phrases = {
    "Input/output error"sv,
    "I/O device error"sv,         // Windows: "... because of an I/O device error."
    "cyclic redundancy check"sv,  // Windows: "Data error (cyclic redundancy check)."
};
constexpr std::array disk_low_phrases = {
    "Disk space is too low"sv,
    "Disk space is low!"sv,
    "Shutting down due to lack of disk space"sv,
};
constexpr std::array damaged_block_phrases = {
    "Failed to read block"sv,
};
constexpr std::array corruption_phrases = {
    "Corruption:"sv,
    "Database corrupted"sv,
    "block checksum mismatch"sv,
    "LevelDB read failure"sv,
    "Corrupted block database detected"sv,
    "Error reading from database"sv,
};

struct KindPhrases {
    TroubleKind kind;
    Phrases phrases;
};
// In the order of TroubleKind: the first that matches is the most pressing.
constexpr std::array<KindPhrases, 5> kinds_by_phrase{{
    {TroubleKind::disk_full, disk_full_phrases},
    {TroubleKind::failing_device, failing_device_phrases},
    {TroubleKind::disk_low, disk_low_phrases},
    {TroubleKind::damaged_block, damaged_block_phrases},
    {TroubleKind::corruption, corruption_phrases},
}};

constexpr std::array advice_texts = {
    // disk_full
    "Free space on the drive that holds the node's data, then start the node: the drive was "
    "full. Do not have the node rebuild its database first: that takes hours and fails again "
    "on a full disk."sv,
    // failing_device
    "Check the drive that holds the node's data before starting the node: the drive itself "
    "reports errors. Run Windows' error checking on it, look at its health and copy off what "
    "matters; rebuilding the node's database on a failing drive only wears it further."sv,
    // disk_low
    "Free space on the drive that holds the node's data: the node stops itself when too little "
    "is free."sv,
    // damaged_block: a block file the node wrote cannot be read back
    "Check the drive that holds the node's data first (Windows' error checking, the drive's "
    "health): a block file cannot be read. Once the drive is sound, start the node once by hand "
    "with -reindex: it rebuilds its database from its block files, which takes hours."sv,
    // corruption
    "Start the node once by hand with -reindex: it rebuilds its damaged database, which takes "
    "hours."sv,
    // start_failure, when the node gave no advice of its own
    "The node could not open its database at start. Read the node's log for the cause before "
    "starting it."sv,
    // other
    "Read the node's log for the cause before starting it."sv,
    // thread_stopped
    "Restart the node: one of its threads stopped after an error, and it no longer takes new "
    "blocks."sv,
};

constexpr std::array warning_phrases = {
    "Unknown new rules activated"sv,
    "unknown new rules activated"sv,
    "Unknown block versions being mined"sv,
    "of last 100 blocks have unexpected version"sv,
    "This version is obsolete; upgrade required!"sv,
};
// Captions the node puts before a warning that need not be shown again.
constexpr std::array warning_captions = {"UpdateTip: "sv, "Warning: "sv};

constexpr std::string_view long_flush = "Flushing large (";

bool contains_any(std::string_view text, Phrases phrases) {
    return std::ranges::any_of(
        phrases, [text](std::string_view phrase) { return text.find(phrase) != text.npos; });
}

bool starts_with_any(std::string_view text, Phrases phrases) {
    return std::ranges::any_of(
        phrases, [text](std::string_view phrase) { return text.starts_with(phrase); });
}

bool is_start_failure(std::string_view message) {
    return std::ranges::any_of(start_failure_captions, [message](std::string_view caption) {
        return message.starts_with(caption) &&
               starts_with_any(message.substr(caption.size()), start_failures);
    });
}

}  // namespace

ErrorWeight error_weight(const LogLine& line) {
    const std::string_view message = line.message;
    if (starts_with_any(message, hard_beginnings) || contains_any(message, hard_phrases) ||
        is_start_failure(message)) {
        return ErrorWeight::hard;
    }
    if (line.error_level || starts_with_any(message, soft_beginnings)) {
        return ErrorWeight::soft;
    }
    return ErrorWeight::none;
}

TroubleKind trouble_kind(std::string_view message) {
    for (const KindPhrases& entry : kinds_by_phrase) {
        if (contains_any(message, entry.phrases)) {
            return entry.kind;
        }
    }
    return is_start_failure(message) ? TroubleKind::start_failure : TroubleKind::other;
}

std::string advice_for(TroubleKind kind, std::string_view node_advice) {
    if (kind == TroubleKind::start_failure && !node_advice.empty()) {
        return "The node could not open its database at start, and advises: \"" +
               std::string(node_advice) + "\" Start it once by hand so; a rebuild takes hours.";
    }
    return std::string(advice_texts[static_cast<std::size_t>(kind)]);
}

std::string_view standalone_warning(std::string_view message) {
    if (!contains_any(message, warning_phrases)) {
        return {};
    }
    for (const std::string_view caption : warning_captions) {
        if (message.starts_with(caption)) {
            message.remove_prefix(caption.size());
        }
    }
    return message;
}

bool announces_long_flush(std::string_view message) {
    return message.starts_with(long_flush);
}

}  // namespace zvkob
