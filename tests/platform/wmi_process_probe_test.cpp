// The real process query under wine, against a stand-in node program the test starts.
#include "platform/win32/processes/wmi_process_probe.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "driver.hpp"
#include "platform/win32/processes/com_apartment.hpp"

namespace zvkob::win32 {
namespace {

using namespace zvkob::e2e;

class ProcessQuery : public ::testing::Test {
protected:
    // A stand-in under `image_name`, running until the test stops it.
    std::unique_ptr<Process> start(const std::wstring& image_name) {
        return std::make_unique<Process>(stand_in(folder_.file(image_name)));
    }

    bool answers(std::string_view image_name, bool running) {
        return wait_until(
            [&] {
                const ProbeAnswer answer = probe_.is_running(image_name);
                EXPECT_TRUE(answer.answered()) << answer.failure;
                return answer.running == running;
            },
            5s);
    }

    ComApartment com_;
    WmiProcessProbe probe_;
    ScratchFolder folder_{L"process-query"};
};

TEST_F(ProcessQuery, FindsAProgramWhileItRunsInAnyCaseAndNotAfterItEnds) {
    auto node = start(L"zv-probe-node.exe");
    EXPECT_TRUE(answers("zv-probe-node.exe", true));
    EXPECT_TRUE(answers("ZV-Probe-NODE.EXE", true)) << "the service matches names in any case";
    EXPECT_TRUE(answers("zv-probe-node", false)) << "the whole image name, not a part";
    node->kill();
    EXPECT_TRUE(answers("zv-probe-node.exe", false));
}

TEST_F(ProcessQuery, AnswersForANameWithAnApostrophe) {
    EXPECT_TRUE(answers("bob's-node.exe", false)) << "the query is valid, not rejected";
    auto node = start(L"bob's-node.exe");
    EXPECT_TRUE(answers("bob's-node.exe", true));
}

TEST_F(ProcessQuery, AnEmptyOrImpossibleNameIsNotRunning) {
    EXPECT_TRUE(answers("", false));
    EXPECT_TRUE(answers("C:\\Windows\\explorer.exe", false)) << "a path is no image name";
    EXPECT_TRUE(answers("explorer.exe\" OR Name<>\"", false));
}

TEST(ProcessQueryWithoutCom, FailsWithAReasonInsteadOfEndingTheProgram) {
    ProbeAnswer answer;
    std::thread([&] { answer = WmiProcessProbe().is_running("explorer.exe"); }).join();
    EXPECT_FALSE(answer.answered());
    EXPECT_NE(answer.failure.find("The process query failed to reach the service (0x800401F0)"),
              std::string::npos)
        << answer.failure;
}

}  // namespace
}  // namespace zvkob::win32
