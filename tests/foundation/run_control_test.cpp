#include "foundation/run_control.h"

#include "foundation/app_state.h"
#include "support/host_recorder.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

class RunControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        App().debugSwitch = true;
    }
    void TearDown() override { ResetAppState(); }
    test::HostRecorder host;
};

TEST_F(RunControlTest, CheckBreakWithNothingPendingKeepsTheRunGoing) {
    LogScope log;
    SetRunning(true);
    EXPECT_FALSE(CheckBreak());
    EXPECT_EQ(host.pumps, 1);
    EXPECT_EQ(host.debug, (std::vector<std::string>{"Setting RUNNING=true", "CheckBreak ended"}));
    EXPECT_EQ(log.Warnings(), 0);
}

TEST_F(RunControlTest, StopDispatchedDuringThePollBreaksThatVeryPoll) {
    LogScope log;
    SetRunning(true);
    host.onPump = [] { OnStop(); };
    EXPECT_TRUE(CheckBreak());
    EXPECT_FALSE(RUNNING());
    EXPECT_EQ(host.messages, std::vector<std::string>{"[= WARNING =] STOP button pressed"});
    EXPECT_GT(log.Warnings(), 0);
    host.onPump = nullptr;
    EXPECT_TRUE(CheckBreak()) << "every later poll breaks too";
}

TEST_F(RunControlTest, StopWhileIdleOnlyWarns) {
    LogScope log;
    OnStop();
    EXPECT_FALSE(RUNNING());
    EXPECT_GT(log.Warnings(), 0);
    EXPECT_EQ(host.debug.back(), "Setting RUNNING=false");
}

TEST_F(RunControlTest, GuardRefusesOnlyWhileRunning) {
    EXPECT_FALSE(IsForbiddenWhileRunning());
    EXPECT_TRUE(host.messages.empty());
    SetRunning(true);
    EXPECT_TRUE(IsForbiddenWhileRunning());
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"[= WARNING =] Forbidden due to a running task!"});
    EXPECT_TRUE(RUNNING()) << "the running command continues";
}

} // namespace
} // namespace kib
