#include "core/care/masked_network_names.hpp"

#include <cctype>
#include <optional>
#include <vector>

namespace zvkob {
namespace {

bool alnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool digit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool hex_digit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool base32(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '2' && c <= '7');
}

bool host_char(char c) {
    return alnum(c) || c == '.' || c == '-';
}

// Onion and I2P names: "<name>.onion" (16 or 56 base32 letters) and
// "<name>.b32.i2p" or any other "<host>.i2p".
std::string mask_hidden_services(std::string_view text, MaskNames& names) {
    std::string masked;
    std::size_t copied = 0;
    for (std::size_t at = text.find('.'); at != std::string_view::npos;
         at = text.find('.', at + 1)) {
        const bool onion = text.substr(at).starts_with(".onion");
        const bool i2p = text.substr(at).starts_with(".i2p");
        const std::size_t end = at + (onion ? 6 : 4);
        if ((!onion && !i2p) || (end < text.size() && alnum(text[end]))) {
            continue;
        }
        std::size_t start = at;
        while (start > copied && (onion ? base32(text[start - 1]) : host_char(text[start - 1]))) {
            --start;
        }
        if ((onion && at - start < 16) || start == at || text[start] == '.') {
            continue;
        }
        masked.append(text.substr(copied, start - copied));
        // An onion name is the same with or without ".onion" (a service's ID).
        masked += names.name(onion ? Masked::onion : Masked::i2p,
                             text.substr(start, (onion ? at : end) - start));
        copied = end;
        at = end - 1;
    }
    masked.append(text.substr(copied));
    return masked;
}

// The length of the IPv4 address at `at`, or none.
std::optional<std::size_t> ipv4_at(std::string_view text, std::size_t at) {
    if (at > 0 && (alnum(text[at - 1]) || text[at - 1] == '.')) {
        return std::nullopt;
    }
    if (text.substr(0, at).ends_with("version ")) {
        return std::nullopt;
    }
    std::size_t end = at;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (end >= text.size() || text[end] != '.') {
                return std::nullopt;
            }
            ++end;
        }
        int value = 0;
        std::size_t digits = 0;
        while (end < text.size() && digit(text[end]) && digits < 4) {
            value = value * 10 + (text[end++] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) {
            return std::nullopt;
        }
    }
    const bool more =
        end < text.size() &&
        (alnum(text[end]) || (text[end] == '.' && end + 1 < text.size() && digit(text[end + 1])));
    return more ? std::nullopt : std::optional(end - at);
}

bool kept_ipv4(std::string_view address) {
    return address.starts_with("127.") || address == "0.0.0.0";
}

// Whether `run` (hex digits, colons, dots) is an IPv6 address: eight groups,
// or fewer around one "::", the last may be an IPv4 address.
bool is_ipv6(std::string_view run) {
    const auto double_colon = run.find("::");
    if (run.find(":::") != std::string_view::npos ||
        (double_colon != std::string_view::npos &&
         run.find("::", double_colon + 1) != std::string_view::npos)) {
        return false;
    }
    std::vector<std::string_view> groups;
    for (std::size_t start = 0;;) {
        const auto colon = run.find(':', start);
        groups.push_back(
            run.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (colon == std::string_view::npos) {
            break;
        }
        start = colon + 1;
    }
    std::size_t counted = 0;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const std::string_view group = groups[i];
        if (group.empty()) {
            continue;
        }
        if (group.find('.') != std::string_view::npos) {
            if (i + 1 != groups.size() || ipv4_at(group, 0) != group.size()) {
                return false;
            }
            counted += 2;
        } else if (group.size() > 4) {
            return false;
        } else {
            ++counted;
        }
    }
    const bool compressed = double_colon != std::string_view::npos;
    return groups.size() >= 3 && (compressed ? counted <= 7 : counted == 8);
}

// The length of the IPv6 address at `at` (with its zone), or none.
std::optional<std::size_t> ipv6_at(std::string_view text, std::size_t at) {
    if ((at > 0 && (alnum(text[at - 1]) || text[at - 1] == ':' || text[at - 1] == '.')) ||
        (!hex_digit(text[at]) && text[at] != ':')) {
        return std::nullopt;
    }
    std::size_t end = at;
    while (end < text.size() && (hex_digit(text[end]) || text[end] == ':' || text[end] == '.')) {
        ++end;
    }
    while (end > at && text[end - 1] == '.') {
        --end;  // a full stop after the address
    }
    if (end < text.size() && alnum(text[end])) {
        return std::nullopt;
    }
    std::string_view run = text.substr(at, end - at);
    if (const auto port = run.rfind(':');
        !is_ipv6(run) && port != std::string_view::npos && port + 1 < run.size() &&
        run.find_first_not_of("0123456789", port + 1) == std::string_view::npos) {
        run = run.substr(0, port);  // "::ffff:198.51.100.23:51234" without its port
        end = at + run.size();
    }
    const bool has_digit = run.find_first_of("0123456789") != std::string_view::npos;
    if (!is_ipv6(run) || (!has_digit && run != "::")) {
        return std::nullopt;
    }
    if (end + 1 < text.size() && text[end] == '%' && alnum(text[end + 1])) {
        for (++end; end < text.size() && alnum(text[end]);) {
            ++end;
        }
    }
    return end - at;
}

bool kept_ipv6(std::string_view address) {
    return address == "::" || address == "::1";
}

std::string mask_ip_addresses(std::string_view text, MaskNames& names) {
    std::string masked;
    std::size_t copied = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::optional<std::size_t> length = ipv4_at(text, at);
        Masked kind = Masked::ipv4;
        if (!length) {
            length = ipv6_at(text, at);
            kind = Masked::ipv6;
        }
        if (!length) {
            continue;
        }
        const std::string_view address = text.substr(at, *length);
        masked.append(text.substr(copied, at - copied));
        const bool kept = kind == Masked::ipv4 ? kept_ipv4(address) : kept_ipv6(address);
        masked += kept ? std::string(address) : names.name(kind, address);
        copied = at + *length;
        at = copied - 1;
    }
    masked.append(text.substr(copied));
    return masked;
}

}  // namespace

std::string mask_network_names(std::string_view text, MaskNames& names) {
    return mask_ip_addresses(mask_hidden_services(text, names), names);
}

}  // namespace zvkob
