#pragma once
#include <string_view>

namespace zvkob {

// Tells the user something, and waits until they have read it.
class Notifier {
public:
    virtual ~Notifier() = default;
    // Something went wrong.
    virtual void show_error(std::string_view message) = 0;
    // A question to answer with Yes or No; true for Yes.
    virtual bool ask(std::string_view question) = 0;
    // Closes a message or question shown now, as OK (or No) would, for when
    // nobody can answer it: Windows is ending the session.
    virtual void close_open_messages() = 0;
};

}  // namespace zvkob
