#include "settings_window/wallet_options.hpp"

#include "settings_window/settings_window.hpp"

namespace zvkob {
namespace {

// The state the two ticks stand for: "Disabled" counts only with "Wallet".
const WalletState& state_of(bool wallet, bool disabled) {
    return !wallet ? no_wallet_option : (disabled ? wallet_off : wallet_on);
}

void show(SettingsWindow& w, const WalletState& state) {
    w.wallet_argument = state.argument;
    w.wallet.set_enabled(!state.wallet_locked);
    w.wallet_disabled.set_enabled(!state.disabled_locked);
}

}  // namespace

void wallet_clicked(SettingsWindow& w) {
    show(w, state_of(w.wallet.ticked(), false));
    w.wallet_disabled.set_tick(0);
}

void disabled_clicked(SettingsWindow& w) {
    show(w, state_of(w.wallet.ticked(), w.wallet_disabled.ticked()));
}

void reconcile_wallet_options(SettingsWindow& w) {
    if (!w.wallet.ticked()) {
        w.wallet_disabled.set_tick(0);
    }
    show(w, state_of(w.wallet.ticked(), w.wallet_disabled.ticked()));
}

}  // namespace zvkob
