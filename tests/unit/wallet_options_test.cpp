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
        w.QT_BAT_COMMAND_TIMER.tick();
        w.DAEMON_BAT_COMMAND_TIMER.tick();
        return w.ZV_QT_COMMAND_TEXTBOX.text() ==
                   "call \"\\\" -conf= -datadir=" + std::string(tail) &&
               w.ZV_D_COMMAND_TEXTBOX.text() == "call \"\\\" -conf= -datadir=" + std::string(tail);
    };

    w.WALLET_TICKBOX.click();
    EXPECT_EQ(w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.text(), " -disablewallet=0");
    EXPECT_TRUE(w.DISABLE_WALLET_TICKBOX.enabled());
    EXPECT_TRUE(tails(" -disablewallet=0"));

    w.DISABLE_WALLET_TICKBOX.click();
    EXPECT_EQ(w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.text(), " -disablewallet=1");
    EXPECT_FALSE(w.WALLET_TICKBOX.enabled()) << "Wallet is locked while Disabled is ticked";
    EXPECT_TRUE(tails(" -disablewallet=1"));

    w.DISABLE_WALLET_TICKBOX.click();
    EXPECT_EQ(w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.text(), " -disablewallet=0");
    EXPECT_TRUE(w.WALLET_TICKBOX.enabled());

    w.WALLET_TICKBOX.click();
    EXPECT_EQ(w.DASH_DISABLE_WALLET_EQUALS_TEXTBOX.text(), "");
    EXPECT_FALSE(w.DISABLE_WALLET_TICKBOX.enabled());
    EXPECT_EQ(w.DISABLE_WALLET_TICKBOX.tick(), 0);
    EXPECT_TRUE(tails("")) << "no -disablewallet text at all";
}

}  // namespace
}  // namespace zvkob
