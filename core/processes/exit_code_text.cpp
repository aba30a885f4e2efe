#include "core/processes/exit_code_text.hpp"

#include <array>
#include <cstdio>
#include <string_view>

namespace zvkob {
namespace {

constexpr unsigned long first_status_code = 0x80000000UL;

struct KnownStatus {
    unsigned long code;
    std::string_view name;
};

// The codes a crashed, killed or unstartable program ends with on Windows.
constexpr std::array known_statuses = {
    KnownStatus{0x80000003UL, "breakpoint"},
    KnownStatus{0xC0000005UL, "access violation"},
    KnownStatus{0xC0000006UL, "in-page error"},  // its file could not be read: a drive gone
    KnownStatus{0xC0000017UL, "no memory"},
    KnownStatus{0xC000001DUL, "illegal instruction"},
    KnownStatus{0xC000007BUL, "invalid image format"},
    KnownStatus{0xC0000094UL, "integer divide by zero"},
    KnownStatus{0xC0000095UL, "integer overflow"},
    KnownStatus{0xC00000FDUL, "stack overflow"},
    KnownStatus{0xC0000135UL, "DLL not found"},
    KnownStatus{0xC0000139UL, "entry point not found"},
    KnownStatus{0xC000013AUL, "ended by Ctrl+C"},
    KnownStatus{0xC0000142UL, "DLL initialisation failed"},
    KnownStatus{0xC000026BUL, "DLL initialisation failed as the session ended"},
    KnownStatus{0xC0000374UL, "heap corruption"},
    // Also how abort() ends a program built with a recent runtime.
    KnownStatus{0xC0000409UL, "fatal application exit or stack buffer overrun"},
    KnownStatus{0xC0000420UL, "assertion failure"},
    KnownStatus{0xE06D7363UL, "unhandled C++ exception"},
};

std::string hex(unsigned long code) {
    char text[24];  // room for a 64-bit unsigned long too
    std::snprintf(text, sizeof text, "0x%08lX", code);
    return text;
}

}  // namespace

std::string exit_code_text(unsigned long code) {
    if (code < first_status_code) {
        return std::to_string(code);
    }
    for (const KnownStatus& status : known_statuses) {
        if (status.code == code) {
            return hex(code) + ", " + std::string(status.name);
        }
    }
    return hex(code);
}

}  // namespace zvkob
