#pragma once
#include <string_view>

namespace zvkob {

// Tells the user that something went wrong, and waits until they have read it.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void show_error(std::string_view message) = 0;
};

}  // namespace zvkob
