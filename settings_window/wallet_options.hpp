#pragma once
#include <string_view>

namespace zvkob {

class SettingsWindow;

// The three states of the "Wallet" and "Disabled" tickboxes: the
// disable-wallet argument each gives both run commands, and which of the two
// tickboxes it locks.
struct WalletState {
    std::string_view argument;
    bool wallet_locked;
    bool disabled_locked;
};
inline constexpr WalletState no_wallet_option{"", false, true};
inline constexpr WalletState wallet_on{" -disablewallet=0", false, false};
inline constexpr WalletState wallet_off{" -disablewallet=1", true, false};

// Click rules of "Wallet" and "Disabled".
void wallet_clicked(SettingsWindow& window);
void disabled_clicked(SettingsWindow& window);

// The last step of the opening: brings the two restored tickboxes into one of
// the three states, whatever argument text the store held; a stored
// "Disabled" without "Wallet" is dropped.
void reconcile_wallet_options(SettingsWindow& window);

}  // namespace zvkob
