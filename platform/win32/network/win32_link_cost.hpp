#pragma once
#include <windows.h>
#include <netlistmgr.h>
#include <ocidl.h>

#include "platform/link_cost.hpp"
#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// The link's cost from Windows' network list (INetworkCostManager::GetCost,
// the machine's cost over all its links), created on the window's thread
// when first needed; COM is set up there already. Changes come through
// INetworkCostManagerEvents, delivered by the thread's message loop. Under
// wine 8 the cost is always unrestricted.
class Win32LinkCost : public LinkCost {
public:
    Win32LinkCost() = default;
    ~Win32LinkCost() override;
    Win32LinkCost(const Win32LinkCost&) = delete;
    Win32LinkCost& operator=(const Win32LinkCost&) = delete;

    LinkCostReading read() override;
    // `changed` runs inside the message loop, perhaps while COM waits for
    // another call: let it post a message rather than act at once.
    Outcome watch(std::function<void()> changed) override;

private:
    Outcome open();

    ComRef<INetworkCostManager> costs_;
    ComRef<IConnectionPoint> events_;
    DWORD cookie_ = 0;
};

}  // namespace zvkob::win32
