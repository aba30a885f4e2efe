#include "core/processes/process_query.hpp"

#include <gtest/gtest.h>

namespace zvkob {
namespace {

TEST(ProcessQuery, HoldsTheImageNameVerbatim) {
    EXPECT_EQ(process_query_text("bitcoind.exe"),
              "SELECT Name FROM Win32_Process WHERE Name='bitcoind.exe'");
    EXPECT_EQ(process_query_text(" Bitcoin-Qt.EXE "),
              "SELECT Name FROM Win32_Process WHERE Name=' Bitcoin-Qt.EXE '");
    EXPECT_EQ(process_query_text(""), "SELECT Name FROM Win32_Process WHERE Name=''");
}

TEST(ProcessQuery, DelimitsANameWithAnApostropheWithDoubleQuotes) {
    EXPECT_EQ(process_query_text("bob's-node.exe"),
              "SELECT Name FROM Win32_Process WHERE Name=\"bob's-node.exe\"");
}

TEST(ProcessQuery, HasNoQueryForANameNoFileCanHave) {
    for (const char* impossible : {"a\"b.exe", "C:\\node.exe", "a/b.exe", "d:.exe", "*.exe",
                                   "node?.exe", "<a>.exe", "a|b.exe", "line\nbreak.exe", "\x7f"}) {
        EXPECT_EQ(process_query_text(impossible), std::nullopt) << impossible;
    }
}

}  // namespace
}  // namespace zvkob
