// The event's zero tolerance held against the flags of each task: which flags
// are too close, for zero and for lettered tasks, and the words that name them.
#include "sheet/answer_key.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

// A task whose flags A.. stand at the given distances from its control; the
// map's answer is the flag within 2 m, else Z.
TaskAnswer Task(int task, const std::string& key, std::vector<double> metres) {
    TaskAnswer a;
    a.task = task;
    a.key = key;
    a.map.kind = MapAnswer::Kind::Letter;
    a.map.letter = 'Z';
    for (std::size_t k = 0; k < metres.size(); ++k) {
        const FlagDistance f{static_cast<char>('A' + k), metres[k]};
        a.map.all.push_back(f);
        if (a.map.nearest.letter == 0 || f.metres < a.map.nearest.metres) {
            a.map.nearest = f;
        }
        if (f.metres < 2.0) {
            a.map.letter = f.letter;
        }
    }
    return a;
}

TEST(ZeroTolerance, FlagsCloserThanTheToleranceAreNamed) {
    const struct {
        TaskAnswer task;
        double tolerance;
        std::vector<std::string> findings;
    } cases[] = {
        {Task(3, "Z", {9.0, 12.0, 7.5, 20.0, 3.1}),
         4.0,
         {"Station 2, task 3: zero task, but flag E stands 3.1 m from the control (zero "
          "tolerance 4 m)"}},
        {Task(3, "Z", {9.0, 12.0, 7.5, 20.0, 3.1}), 2.0, {}},
        // Exactly at the tolerance is allowed.
        {Task(3, "Z", {4.0, 9.0}), 4.0, {}},
        // Without a key the map's own answer tells a zero task.
        {Task(1, "", {6.0, 2.5}),
         3.5,
         {"Station 2, task 1: zero task, but flag B stands 2.5 m from the control (zero "
          "tolerance 3.5 m)"}},
        // A lettered task: its own flag stands at the control, a second one too near.
        {Task(4, "B", {3.0, 0.0, 3.9, 8.0}),
         4.0,
         {"Station 2, task 4: answer B, but flag A stands 3.0 m from the control too (zero "
          "tolerance 4 m)",
          "Station 2, task 4: answer B, but flag C stands 3.9 m from the control too (zero "
          "tolerance 4 m)"}},
        {Task(4, "B", {5.0, 0.0, 6.0}), 4.0, {}},
    };
    for (const auto& c : cases) {
        StationAnswers answers;
        answers.tasks = {c.task};
        std::vector<std::string> texts;
        for (const ZeroToleranceFinding& f : ZeroToleranceFindings(answers, 2, c.tolerance)) {
            EXPECT_EQ(f.task, c.task.task);
            texts.push_back(f.text);
        }
        EXPECT_EQ(texts, c.findings) << "task " << c.task.task << ", tolerance " << c.tolerance;
    }
}

} // namespace
} // namespace kib
