#include "core/settings/setting_text.hpp"

#include <gtest/gtest.h>

#include "core/instance_name.hpp"
#include "fakes.hpp"

namespace zvkob {
namespace {

TEST(TwipsText, WritesTheShortestTextThatReadsBackTheSameNumber) {
    EXPECT_EQ(twips_text(1000.0F), "1000");
    EXPECT_EQ(twips_text(-1500.0F), "-1500");
    EXPECT_EQ(twips_text(1234.5F), "1234.5");
    EXPECT_EQ(twips_text(0.0F), "0");
    EXPECT_EQ(twips_text(-0.0F), "0");
    EXPECT_EQ(twips_text(1.0e7F), "10000000");
    for (const float twips : {1234.5678F, 8.5714283F, -98765.43F, 16777216.0F}) {
        EXPECT_EQ(parse_position(twips_text(twips)), twips) << twips_text(twips);
    }
}

TEST(ParseTick, AcceptsOnlyZeroAndOne) {
    EXPECT_EQ(parse_tick("0"), 0);
    EXPECT_EQ(parse_tick("1"), 1);
    EXPECT_EQ(parse_tick(" 1 "), 1);
    EXPECT_EQ(parse_tick("+1"), 1);
    EXPECT_EQ(parse_tick("1.0"), 1);
    for (const char* bad :
         {"", " ", "2", "-1", "yes", "1x", "True", "nan", "inf", "70000", "0x1"}) {
        EXPECT_FALSE(parse_tick(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(ParsePosition, AcceptsAnyFiniteNumberAndNothingElse) {
    EXPECT_EQ(parse_position("1000"), 1000.0F);
    EXPECT_EQ(parse_position("-15360"), -15360.0F);
    EXPECT_EQ(parse_position("1234.5"), 1234.5F);
    EXPECT_EQ(parse_position(".5"), 0.5F);
    for (const char* bad : {"", "abc", "12 34", "1,000", "inf", "-nan", "1e99", "--1"}) {
        EXPECT_FALSE(parse_position(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(ParseSize, RefusesSizesThatCannotBeAWindow) {
    EXPECT_EQ(parse_size("4530"), 4530.0F);
    EXPECT_FALSE(parse_size("0").has_value());
    EXPECT_FALSE(parse_size("-2565").has_value());
    EXPECT_FALSE(parse_size("wide").has_value());
}

TEST(InstanceName, IsTheProgramFileNameWithoutItsExtension) {
    EXPECT_EQ(instance_name_from_path("C:\\TARLOWEN\\ZV-KOB\\ZV-KOB.exe"), "ZV-KOB");
    EXPECT_EQ(instance_name_from_path("D:\\Nodes\\Second.exe"), "Second");
    EXPECT_EQ(instance_name_from_path("C:\\a.b\\my.node.EXE"), "my.node");
    EXPECT_EQ(instance_name_from_path("Plain"), "Plain");
    EXPECT_EQ(instance_name_from_path("/opt/zv/Third.exe"), "Third");
}

}  // namespace
}  // namespace zvkob
