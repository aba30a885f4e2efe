#pragma once
#include <string>

namespace zvkob {

// A password (wide, as Windows takes it) held only as long as it is needed, and wiped, not just freed,
// when it goes: its bytes must not linger in the process's memory.
class SecretPassword {
public:
    SecretPassword() = default;
    explicit SecretPassword(std::wstring text) : text_(std::move(text)) {}
    ~SecretPassword() { wipe(); }
    SecretPassword(const SecretPassword&) = delete;
    SecretPassword& operator=(const SecretPassword&) = delete;
    SecretPassword(SecretPassword&& other) noexcept : text_(std::move(other.text_)) { other.wipe(); }

    const std::wstring& text() const { return text_; }
    bool empty() const { return text_.empty(); }

    void wipe() {
        text_.resize(text_.capacity());  // within its buffer: nothing moves
        volatile wchar_t* bytes = text_.data();
        for (std::size_t at = 0; at < text_.size(); ++at) {
            bytes[at] = L'\0';
        }
        text_.clear();
    }

private:
    std::wstring text_;
};

}  // namespace zvkob
