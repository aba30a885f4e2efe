#pragma once
#include <string_view>

namespace zvkob {

class SettingsWindow;

// The disable-wallet argument appended to both run commands: no option, the
// wallet on, or the wallet off.
namespace wallet_argument {
inline constexpr std::string_view none;
inline constexpr std::string_view wallet_on = " -disablewallet=0";
inline constexpr std::string_view wallet_off = " -disablewallet=1";
}  // namespace wallet_argument

// Click rules of "Wallet" and "Disabled".
void wallet_clicked(SettingsWindow& window);
void disabled_clicked(SettingsWindow& window);

// The last step of the opening: brings the two restored tickboxes into one of
// the three states with the argument and locks that belong to it, whatever
// argument text the store held.
void reconcile_wallet_options(SettingsWindow& window);

}  // namespace zvkob
