#include "settings_window/wallet_options.hpp"

#include <gtest/gtest.h>

#include "settings_fakes.hpp"
#include "settings_window/open_unload.hpp"

namespace zvkob {
namespace {

using testing::SettingsWindowFixture;

// The user's clicks through the three states, and what the composer makes of each.
TEST(WalletOptions, ClicksMoveThroughTheThreeStatesAndReachBothRunCommandsAtTheNextTick) {
    SettingsWindowFixture f;
    SettingsWindow& w = f.window;
    open_settings_window(w);
    const auto tails = [&w](std::string_view tail) {
        w.qt_composer.tick();
        w.daemon_composer.tick();
        return w.qt_run_command.text() == "call \"\\\" -conf= -datadir=" + std::string(tail) &&
               w.daemon_run_command.text() == "call \"\\\" -conf= -datadir=" + std::string(tail);
    };

    w.wallet.click();
    EXPECT_EQ(w.wallet_argument, " -disablewallet=0");
    EXPECT_TRUE(w.wallet_disabled.enabled());
    EXPECT_TRUE(tails(" -disablewallet=0"));

    w.wallet_disabled.click();
    EXPECT_EQ(w.wallet_argument, " -disablewallet=1");
    EXPECT_FALSE(w.wallet.enabled()) << "Wallet is locked while Disabled is ticked";
    EXPECT_TRUE(tails(" -disablewallet=1"));

    w.wallet_disabled.click();
    EXPECT_EQ(w.wallet_argument, " -disablewallet=0");
    EXPECT_TRUE(w.wallet.enabled());

    w.wallet.click();
    EXPECT_EQ(w.wallet_argument, "");
    EXPECT_FALSE(w.wallet_disabled.enabled());
    EXPECT_EQ(w.wallet_disabled.tick(), 0);
    EXPECT_TRUE(tails("")) << "no -disablewallet text at all";
}

}  // namespace
}  // namespace zvkob
