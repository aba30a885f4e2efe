#include "core/node_rpc/rpc_request.hpp"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace zvkob {
namespace {

using ValidatingWriter =
    rapidjson::Writer<rapidjson::StringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>,
                      rapidjson::CrtAllocator, rapidjson::kWriteValidateEncodingFlag>;

bool write_text(ValidatingWriter& writer, std::string_view text) {
    return writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

bool write_param(ValidatingWriter& writer, const RpcParam& param) {
    if (const auto* text = std::get_if<std::string_view>(&param.value())) {
        return write_text(writer, *text);
    }
    if (const auto* number = std::get_if<std::int64_t>(&param.value())) {
        return writer.Int64(*number);
    }
    return writer.Bool(std::get<bool>(param.value()));
}

bool unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '~';
}

}  // namespace

std::optional<std::string> rpc_request_body(std::string_view method,
                                            std::span<const RpcParam> params, std::int64_t id) {
    rapidjson::StringBuffer buffer;
    ValidatingWriter writer(buffer);
    bool written = writer.StartObject() && write_text(writer, "jsonrpc") &&
                   write_text(writer, "2.0") && write_text(writer, "id") && writer.Int64(id) &&
                   write_text(writer, "method") && write_text(writer, method) &&
                   write_text(writer, "params") && writer.StartArray();
    for (const RpcParam& param : params) {
        written = written && write_param(writer, param);
    }
    written = written && writer.EndArray() && writer.EndObject();
    if (!written) {
        return std::nullopt;
    }
    return std::string(buffer.GetString(), buffer.GetSize());
}

std::string rpc_wallet_path(std::string_view wallet_name) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string path = "/wallet/";
    for (const char c : wallet_name) {
        if (unreserved(c)) {
            path += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        path += '%';
        path += hex[byte >> 4];
        path += hex[byte & 0x0F];
    }
    return path;
}

bool is_loopback_literal(std::string_view address) {
    return address == "127.0.0.1" || address == "::1" || address == "[::1]";
}

}  // namespace zvkob
