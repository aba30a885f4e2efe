#pragma once
#include "core/outcome.hpp"

namespace zvkob {

// The entry that starts this copy of ZV-KOB when the user signs in to Windows.
class StartupEntry {
public:
    virtual ~StartupEntry() = default;
    // Whether the entry exists and starts this very program file.
    virtual bool registered() = 0;
    virtual Outcome add() = 0;
    virtual Outcome remove() = 0;
};

}  // namespace zvkob
