#include "platform/environment.h"
#include "platform/interrupts.h"

#include <gtest/gtest.h>

namespace kib::platform {
namespace {

TEST(EnvironmentTest, SetsReadsAndRemovesVariables) {
    const std::string name = "KIB_PLATFORM_TEST_VALUE";
    SetEnvironmentValue(name, std::nullopt);
    EXPECT_FALSE(EnvironmentValue(name).has_value());
    SetEnvironmentValue(name, "Z\xc3\xbcrich 50%"); // "Zürich 50%"
    EXPECT_EQ(EnvironmentValue(name), "Z\xc3\xbcrich 50%");
    SetEnvironmentValue(name, std::nullopt);
    EXPECT_FALSE(EnvironmentValue(name).has_value());
    EXPECT_TRUE(EnvironmentValue("PATH").has_value());
}

TEST(EnvironmentTest, ArgumentsBeginWithTheProgram) {
    char program[] = "kib";
    char word[] = "maps";
    char* argv[] = {program, word, nullptr};
    const std::vector<std::string> args = ProgramArguments(2, argv);
    ASSERT_FALSE(args.empty());
    PrepareConsole();
}

TEST(InterruptsTest, CountsEachInterruptOnce) {
    CatchInterrupts();
    TakeInterrupts();
    EXPECT_EQ(TakeInterrupts(), 0);
    RaiseInterrupt();
    RaiseInterrupt();
    EXPECT_EQ(TakeInterrupts(), 2);
    EXPECT_EQ(TakeInterrupts(), 0);
}

} // namespace
} // namespace kib::platform
