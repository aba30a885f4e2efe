#pragma once
#include "platform/process_probe.hpp"

namespace zvkob::win32 {

// Asks Windows Management Instrumentation (ROOT\CIMV2) how many processes
// have the image name. Every call opens its own connection and releases it
// before it returns, and waits at most a few seconds for the answer; a
// failure is returned with the reason, never thrown. COM must be initialised
// on the calling thread.
class WmiProcessProbe : public ProcessProbe {
public:
    ProbeAnswer is_running(std::string_view image_name) override;
};

}  // namespace zvkob::win32
