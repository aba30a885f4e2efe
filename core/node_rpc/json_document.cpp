#include "core/node_rpc/json_document.hpp"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

namespace zvkob {
namespace {

const rapidjson::Value& value_of(const void* value) {
    return *static_cast<const rapidjson::Value*>(value);
}

// Hands the parser's events to the document, and stops the parse at the
// first container deeper than the cap: the iterative parser keeps its own
// stack off the call stack, but the document's would still grow with depth.
class DepthLimited {
public:
    explicit DepthLimited(rapidjson::Document& document) : document_(document) {}

    bool too_deep() const { return too_deep_; }

    bool Null() { return document_.Null(); }
    bool Bool(bool value) { return document_.Bool(value); }
    bool Int(int value) { return document_.Int(value); }
    bool Uint(unsigned value) { return document_.Uint(value); }
    bool Int64(std::int64_t value) { return document_.Int64(value); }
    bool Uint64(std::uint64_t value) { return document_.Uint64(value); }
    bool Double(double value) { return document_.Double(value); }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool copy) {
        return document_.RawNumber(text, length, copy);
    }
    bool String(const char* text, rapidjson::SizeType length, bool copy) {
        return document_.String(text, length, copy);
    }
    bool Key(const char* text, rapidjson::SizeType length, bool copy) {
        return document_.Key(text, length, copy);
    }
    bool StartObject() { return deeper() && document_.StartObject(); }
    bool EndObject(rapidjson::SizeType members) {
        --depth_;
        return document_.EndObject(members);
    }
    bool StartArray() { return deeper() && document_.StartArray(); }
    bool EndArray(rapidjson::SizeType elements) {
        --depth_;
        return document_.EndArray(elements);
    }

private:
    bool deeper() {
        too_deep_ = ++depth_ > json_depth_cap;
        return !too_deep_;
    }

    rapidjson::Document& document_;
    int depth_ = 0;
    bool too_deep_ = false;
};

// Iterative, so that no text can exhaust the call stack; strict about UTF-8,
// so that every text read from it can be shown as it is.
constexpr unsigned parse_flags =
    rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;

}  // namespace

struct JsonDocument::Parsed {
    rapidjson::Document document;
};

JsonDocument::JsonDocument() = default;
JsonDocument::JsonDocument(JsonDocument&&) noexcept = default;
JsonDocument& JsonDocument::operator=(JsonDocument&&) noexcept = default;
JsonDocument::~JsonDocument() = default;

JsonDocument JsonDocument::parse(std::string_view text) {
    JsonDocument parsed;
    if (text.size() > json_size_cap) {
        parsed.fault_ = JsonFault::oversized;
        return parsed;
    }
    // The parser takes a zero byte for the end of the text: one inside it
    // would hide whatever follows.
    if (const auto zero = text.find('\0'); zero != std::string_view::npos) {
        parsed.fault_ = JsonFault::malformed;
        parsed.fault_detail_ = "A zero byte at " + std::to_string(zero) + ".";
        return parsed;
    }
    parsed.parsed_ = std::make_unique<Parsed>();
    rapidjson::MemoryStream stream(text.data(), text.size());
    rapidjson::Reader reader;
    bool too_deep = false;
    auto generate = [&](rapidjson::Document& document) {
        DepthLimited handler(document);
        const bool whole = !reader.Parse<parse_flags>(stream, handler).IsError();
        too_deep = handler.too_deep();
        return whole;
    };
    parsed.parsed_->document.Populate(generate);
    if (too_deep) {
        parsed.fault_ = JsonFault::too_deep;
    } else if (reader.HasParseError()) {
        parsed.fault_ = JsonFault::malformed;
        parsed.fault_detail_ =
            std::string(rapidjson::GetParseError_En(reader.GetParseErrorCode())) + " At " +
            std::to_string(reader.GetErrorOffset()) + ".";
    }
    if (parsed.fault_ != JsonFault::none) {
        parsed.parsed_.reset();
    }
    return parsed;
}

JsonValue JsonDocument::root() const {
    return parsed_ ? JsonValue(&parsed_->document) : JsonValue();
}

bool JsonValue::is_null() const {
    return present() && value_of(value_).IsNull();
}

JsonValue JsonValue::member(std::string_view key) const {
    if (!present() || !value_of(value_).IsObject()) {
        return {};
    }
    const rapidjson::Value name(
        rapidjson::StringRef(key.data(), static_cast<rapidjson::SizeType>(key.size())));
    const auto found = value_of(value_).FindMember(name);
    return found == value_of(value_).MemberEnd() ? JsonValue() : JsonValue(&found->value);
}

std::optional<double> JsonValue::number() const {
    if (!present() || !value_of(value_).IsNumber()) {
        return std::nullopt;
    }
    return value_of(value_).GetDouble();
}

std::optional<std::int64_t> JsonValue::whole_number() const {
    if (!present() || !value_of(value_).IsInt64()) {
        return std::nullopt;
    }
    return value_of(value_).GetInt64();
}

std::optional<std::string> JsonValue::text() const {
    if (!present() || !value_of(value_).IsString()) {
        return std::nullopt;
    }
    return std::string(value_of(value_).GetString(), value_of(value_).GetStringLength());
}

std::optional<bool> JsonValue::flag() const {
    if (!present() || !value_of(value_).IsBool()) {
        return std::nullopt;
    }
    return value_of(value_).GetBool();
}

std::optional<std::vector<std::string>> JsonValue::texts() const {
    if (const auto one = text()) {
        return one->empty() ? std::vector<std::string>{} : std::vector<std::string>{*one};
    }
    if (!present() || !value_of(value_).IsArray()) {
        return std::nullopt;
    }
    std::vector<std::string> all;
    for (const auto& element : value_of(value_).GetArray()) {
        if (!element.IsString()) {
            return std::nullopt;
        }
        all.emplace_back(element.GetString(), element.GetStringLength());
    }
    return all;
}

}  // namespace zvkob
