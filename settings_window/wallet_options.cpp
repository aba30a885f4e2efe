#include "settings_window/wallet_options.hpp"

#include "settings_window/settings_window.hpp"

namespace zvkob {

void wallet_clicked(SettingsWindow& w) {
    if (w.WALLET_TICKBOX.tick() == 1) {
        w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.set_text(wallet_argument::wallet_on);
        w.DISABLE_WALLET_TICKBOX.set_enabled(true);
    } else {
        w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.set_text(wallet_argument::none);
        w.DISABLE_WALLET_TICKBOX.set_enabled(false);
    }
    w.DISABLE_WALLET_TICKBOX.set_tick(0);
}

void disabled_clicked(SettingsWindow& w) {
    if (w.DISABLE_WALLET_TICKBOX.tick() == 1) {
        w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.set_text(wallet_argument::wallet_off);
        w.WALLET_TICKBOX.set_enabled(false);
    } else {
        w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.set_text(wallet_argument::wallet_on);
        w.WALLET_TICKBOX.set_enabled(true);
    }
}

void reconcile_wallet_options(SettingsWindow& w) {
    const bool wallet = w.WALLET_TICKBOX.tick() == 1;
    const bool disabled = w.DISABLE_WALLET_TICKBOX.tick() == 1;
    if (wallet && disabled) {
        w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.set_text(wallet_argument::wallet_off);
        w.WALLET_TICKBOX.set_enabled(false);
        w.DISABLE_WALLET_TICKBOX.set_enabled(true);
    } else if (wallet) {
        w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.set_text(wallet_argument::wallet_on);
        w.WALLET_TICKBOX.set_enabled(true);
        w.DISABLE_WALLET_TICKBOX.set_enabled(true);
    } else {
        // A stored "Disabled" without "Wallet" is dropped here.
        w.DISABLE_WALLET_TICKBOX.set_tick(0);
        w.DISABLE_WALLET_TICKBOX.set_enabled(false);
        w.WALLET_TICKBOX.set_enabled(true);
        w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.set_text(wallet_argument::none);
    }
}

}  // namespace zvkob
