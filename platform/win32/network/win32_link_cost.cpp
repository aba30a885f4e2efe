#include "platform/win32/network/win32_link_cost.hpp"

#include <atomic>

#include "platform/win32/wide_text.hpp"

namespace zvkob::win32 {
namespace {

std::string com_failure(const char* what, HRESULT result) {
    return std::string(what) + ": " + system_error_text(static_cast<DWORD>(result));
}

// Hears Windows tell of a new cost.
class CostEvents final : public INetworkCostManagerEvents {
public:
    explicit CostEvents(std::function<void()> changed) : changed_(std::move(changed)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_INetworkCostManagerEvents)) {
            *object = static_cast<INetworkCostManagerEvents*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE CostChanged(DWORD, NLM_SOCKADDR*) override {
        changed_();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DataPlanStatusChanged(NLM_SOCKADDR*) override { return S_OK; }

private:
    std::atomic<ULONG> references_{1};
    std::function<void()> changed_;
};

}  // namespace

Win32LinkCost::~Win32LinkCost() {
    if (events_) {
        events_->Unadvise(cookie_);
    }
}

Outcome Win32LinkCost::open() {
    if (costs_) {
        return Outcome::success();
    }
    const HRESULT created =
        CoCreateInstance(CLSID_NetworkListManager, nullptr, CLSCTX_ALL, IID_INetworkCostManager,
                         reinterpret_cast<void**>(costs_.receive()));
    return SUCCEEDED(created)
               ? Outcome::success()
               : Outcome::failure(com_failure("Windows' network list did not answer", created));
}

LinkCostReading Win32LinkCost::read() {
    if (const Outcome opened = open(); !opened) {
        return {std::nullopt, opened.reason()};
    }
    DWORD cost = 0;
    const HRESULT got = costs_->GetCost(&cost, nullptr);
    if (FAILED(got)) {
        return {std::nullopt, com_failure("Windows could not tell the link's cost", got)};
    }
    return {cost, {}};
}

Outcome Win32LinkCost::watch(std::function<void()> changed) {
    if (const Outcome opened = open(); !opened || events_) {
        return opened;
    }
    ComRef<IConnectionPointContainer> container;
    HRESULT result = costs_->QueryInterface(IID_IConnectionPointContainer,
                                            reinterpret_cast<void**>(container.receive()));
    if (SUCCEEDED(result)) {
        result = container->FindConnectionPoint(IID_INetworkCostManagerEvents, events_.receive());
    }
    if (SUCCEEDED(result)) {
        CostEvents* sink = new CostEvents(std::move(changed));
        result = events_->Advise(sink, &cookie_);
        sink->Release();  // the connection point holds it while advised
    }
    if (FAILED(result)) {
        events_.reset();
        return Outcome::failure(
            com_failure("Windows will not tell changes of the link's cost", result));
    }
    return Outcome::success();
}

}  // namespace zvkob::win32
