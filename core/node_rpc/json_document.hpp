#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvkob {

// What a received document may be at most: anything larger or deeper is
// refused before it costs more than its own bytes. A node's largest answer
// that ZV-KOB asks for is a few KiB and four levels deep.
inline constexpr std::size_t json_size_cap = 1024 * 1024;
inline constexpr int json_depth_cap = 64;

// One value inside a parsed document. Each getter answers nothing when the
// value is missing or of another type, so a reply of an unexpected shape is
// never a crash. Valid while its document lives.
class JsonValue {
public:
    JsonValue() = default;

    bool present() const { return value_ != nullptr; }
    bool is_null() const;
    // The member of an object, or an absent value.
    JsonValue member(std::string_view key) const;

    std::optional<double> number() const;
    std::optional<std::int64_t> whole_number() const;  // only a whole number that fits
    std::optional<std::string> text() const;
    std::optional<bool> flag() const;
    // A string, or an array of strings, as a list; an empty string is no
    // text at all (a node writes "" for no warnings, newer ones []).
    std::optional<std::vector<std::string>> texts() const;

private:
    friend class JsonDocument;
    explicit JsonValue(const void* value) : value_(value) {}

    // The library's own value: its type stays out of this header, so only
    // the files that parse or write JSON see the library at all.
    const void* value_ = nullptr;
};

enum class JsonFault {
    none,
    malformed,  // not JSON, not UTF-8, or more than one value
    oversized,  // larger than json_size_cap
    too_deep,   // nested deeper than json_depth_cap
};

// A document parsed once from received text and then only read, never
// copied or written out again.
class JsonDocument {
public:
    static JsonDocument parse(std::string_view text);

    JsonDocument(JsonDocument&&) noexcept;
    JsonDocument& operator=(JsonDocument&&) noexcept;
    ~JsonDocument();

    JsonFault fault() const { return fault_; }
    // The parser's words for a malformed text and where it stopped.
    const std::string& fault_detail() const { return fault_detail_; }
    // The whole document; absent when it could not be parsed.
    JsonValue root() const;

private:
    struct Parsed;
    JsonDocument();

    std::unique_ptr<Parsed> parsed_;
    JsonFault fault_ = JsonFault::none;
    std::string fault_detail_;
};

}  // namespace zvkob
