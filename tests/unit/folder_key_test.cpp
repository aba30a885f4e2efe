#include "core/folder_key.hpp"

#include <gtest/gtest.h>

#include "core/processes/copies_question.hpp"
#include "fakes.hpp"
#include "guardian/node/folder_keys.hpp"

namespace zvkob {
namespace {

// Every way of writing one folder gives one key; its case is kept in the
// plain form, which Windows is asked about.
TEST(FolderKey, OneFolderWrittenManyWaysGivesOneKey) {
    for (const auto& [written, plain] : {
             std::pair{"D:\\Chain", "D:\\Chain"},
             std::pair{"D:/Chain", "D:\\Chain"},
             std::pair{"D:\\Chain\\", "D:\\Chain"},
             std::pair{"D:\\Chain\\\\.\\", "D:\\Chain"},
             std::pair{"\"D:\\Chain\"", "D:\\Chain"},
             std::pair{"\\\\?\\D:\\Chain", "D:\\Chain"},
             std::pair{"\\\\.\\D:\\Chain", "D:\\Chain"},
             std::pair{"D:\\Node\\..\\Chain", "D:\\Chain"},
             std::pair{"D:\\..\\..\\Chain", "D:\\Chain"},  // never above the root
             std::pair{"D:\\", "D:\\"},
             std::pair{"D:/", "D:\\"},
             std::pair{"\\\\?\\UNC\\server\\share\\Chain", "\\\\server\\share\\Chain"},
             std::pair{"//server/share/Chain/", "\\\\server\\share\\Chain"},
             std::pair{"\\\\server\\share\\..\\Chain", "\\\\server\\share\\Chain"},
             std::pair{"\\\\server\\share\\", "\\\\server\\share"},
             std::pair{"D:Chain\\.", "D:Chain"},      // the drive's current folder
             std::pair{"..\\Chain\\.", "..\\Chain"},  // relative: kept as far as it goes
             std::pair{"", ""},
         }) {
        EXPECT_EQ(plain_folder(written), plain) << written;
    }
    EXPECT_EQ(folder_key("\\\\?\\d:/CHAIN/./"), folder_key("D:\\Chain"));
    EXPECT_NE(folder_key("D:\\Chain2"), folder_key("D:\\Chain"));
    EXPECT_EQ(folder_mark(""), 0U) << "no folder";
    EXPECT_NE(folder_mark(folder_key("D:\\Chain")), 0U);
    EXPECT_NE(folder_mark(folder_key("D:\\Chain")), folder_mark(folder_key("D:\\Chain2")));
}

// A copy asked about a process answers whether it holds it, and on which
// folder; the asker reads one reply at a time.
TEST(CopiesQuestion, TheAnswerSaysWhetherAndWhere) {
    using enum CopiesAnswer;
    const std::uint32_t here = folder_mark("d:\\chain");
    EXPECT_EQ(holder_answer(5000, std::nullopt, here), 0U);
    EXPECT_EQ(holder_answer(5000, folder_mark("e:\\other"), here), 5000U);
    EXPECT_EQ(holder_answer(5000, 0, 0), 5000U) << "no folder is nobody's folder";
    struct Case {
        CopyReply reply;
        CopiesAnswer meaning;
    };
    for (const Case& c : {
             Case{{true, false, true, 0}, none_holds_it},
             Case{{true, false, true, 5000}, another_holds_it},  // also an earlier copy's answer
             Case{{true, false, true, holder_answer(5000, here, here)}, another_holds_it_here},
             Case{{true, false, true, 5001}, none_holds_it},
             Case{{false, false, true, 0}, one_did_not_answer},
             Case{{false, true, true, 0}, none_holds_it},    // an elevated copy kept it out
             Case{{false, false, false, 0}, none_holds_it},  // it closed meanwhile
         }) {
        EXPECT_EQ(reply_meaning(c.reply, 5000), c.meaning) << c.reply.value;
    }
}

// Windows is asked about a folder once, on the worker; the key is the plain
// one until it answers, and its answer is kept until the folder is set again.
TEST(FolderKeys, AskWindowsOnceOnTheWorkerAndKeepItsAnswer) {
    testing::FakeFileSystem files;
    EventGate events(testing::fail_the_test());
    testing::FakeBackgroundWork worker(events);
    const auto owner = std::make_shared<const int>(0);
    FolderKeys keys(files, worker, owner);
    files.resolved_folders["M:\\Chain"] = "\\\\server\\share\\chain";
    worker.holding = true;
    EXPECT_EQ(keys.key("M:\\Chain"), "m:\\chain") << "before Windows has answered";
    keys.key("M:\\Chain");
    keys.key("chain");
    ASSERT_EQ(worker.held.size(), 1U) << "asked once; about a relative folder never";
    worker.release_all();
    EXPECT_EQ(keys.key("M:\\Chain"), "\\\\server\\share\\chain");
    EXPECT_EQ(keys.generation(), 1U) << "what was judged by the plain key is judged again";
    keys.forget("M:\\Chain");
    keys.key("M:\\Chain");
    EXPECT_EQ(worker.held.size(), 1U) << "set anew, asked afresh";
}

}  // namespace
}  // namespace zvkob
