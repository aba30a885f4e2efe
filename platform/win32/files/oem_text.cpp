#include "platform/win32/files/oem_text.hpp"

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

int to_code_page(UINT code_page, DWORD flags, std::wstring_view wide, char* out, int out_size,
                 BOOL* used_default) {
    return WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), out,
                               out_size, nullptr, used_default);
}

std::optional<std::string> encode_wide(std::wstring_view wide, UINT code_page) {
    if (wide.empty()) {
        return std::string();
    }
    // UTF-8 has no default character and takes no best-fit flag; some code
    // pages refuse the flag too. The round trip below catches any look-alike.
    const bool utf8 = code_page == CP_UTF8;
    DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL used_default = FALSE;
    BOOL* const default_seen = utf8 ? nullptr : &used_default;
    int size = to_code_page(code_page, flags, wide, nullptr, 0, default_seen);
    if (size <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        size = to_code_page(code_page, flags, wide, nullptr, 0, default_seen);
    }
    if (size <= 0 || used_default) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    to_code_page(code_page, flags, wide, bytes.data(), size, default_seen);
    if (used_default) {
        return std::nullopt;
    }
    const int back_size =
        MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    std::wstring back(static_cast<std::size_t>(back_size > 0 ? back_size : 0), L'\0');
    MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size, back.data(),
                        back_size);
    if (back != wide) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

UINT batch_file_code_page() {
    return GetOEMCP();
}

std::optional<std::string> encode_exactly(std::string_view utf8, UINT code_page) {
    return encode_wide(widen(utf8), code_page);
}

std::optional<std::string> first_character_not_in(std::string_view utf8, UINT code_page) {
    const std::wstring wide = widen(utf8);
    for (std::size_t at = 0; at < wide.size();) {
        const bool pair =
            IS_HIGH_SURROGATE(wide[at]) && at + 1 < wide.size() && IS_LOW_SURROGATE(wide[at + 1]);
        const std::wstring_view character(wide.data() + at, pair ? 2 : 1);
        if (!encode_wide(character, code_page)) {
            return narrow(character);
        }
        at += character.size();
    }
    return std::nullopt;
}

}  // namespace zvkob::win32
