// Reading what Slurm's commands answer: a task read wrongly from the queue would be taken for a
// task that ended, and judged before its solver wrote anything.
#include "model/Errors.h"
#include "motion/SlurmRunner.h"

#include <gtest/gtest.h>

#include <csignal>

namespace vandra::motion {
namespace {

using Tasks = std::map<int, std::string>;

TEST(SlurmAnswers, QueueListsEveryTaskOrIsRefused) {
    const struct {
        const char* output;
        Tasks tasks;
    } cases[] = {
        {"3 PENDING\n4 PENDING\n1 RUNNING\n", {{1, "RUNNING"}, {3, "PENDING"}, {4, "PENDING"}}},
        {"[5-7%2] PENDING\n2 COMPLETING\n",
         {{2, "COMPLETING"}, {5, "PENDING"}, {6, "PENDING"}, {7, "PENDING"}}},
        {"  4,6,9-10 PENDING  \r\n",
         {{4, "PENDING"}, {6, "PENDING"}, {9, "PENDING"}, {10, "PENDING"}}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseQueue(c.output), c.tasks) << c.output;
    for (const char* bad :
         {"N/A RUNNING\n", "3\n", "[7-5] PENDING\n", "1-99999999 PENDING\n", "3x PENDING\n"})
        EXPECT_THROW(ParseQueue(bad), InputError) << bad;
}

TEST(SlurmAnswers, JobIdAccountingAndTheSolversEnd) {
    EXPECT_EQ(ParseJobId("1234\n"), "1234");
    EXPECT_EQ(ParseJobId("1234;cluster\n"), "1234");
    EXPECT_EQ(ParseJobId("sbatch: error: invalid partition\n"), "");
    EXPECT_EQ(ParseJobId(""), "");

    EXPECT_EQ(ParseAccounting("12_1|COMPLETED\n12_2|TIMEOUT\n12_3|CANCELLED by 0\n"
                              "12_3.batch|CANCELLED\n120_4|FAILED\n12|RUNNING\n",
                              "12"),
              (Tasks{{1, "COMPLETED"}, {2, "TIMEOUT"}, {3, "CANCELLED by 0"}}));

    const struct {
        const char* output;
        SolverEnd::Kind kind;
        int value;
    } ends[] = {
        {"vandra-task: solver exit 0\n", SolverEnd::Kind::kExited, 0},
        {"noise\nvandra-task: solver exit 3\n", SolverEnd::Kind::kExited, 3},
        {"vandra-task: solver exit 137\n", SolverEnd::Kind::kSignalled, SIGKILL},
        {"vandra-task: no run folder for task 4\n", SolverEnd::Kind::kUnknown, 0},
        {"vandra-task: solver exit \n", SolverEnd::Kind::kUnknown, 0},
        {"", SolverEnd::Kind::kUnknown, 0},
    };
    for (const auto& e : ends) {
        const SolverEnd end = ParseTaskEnd(e.output);
        EXPECT_EQ(end.kind, e.kind) << e.output;
        EXPECT_EQ(end.value, e.value) << e.output;
    }
}

} // namespace
} // namespace vandra::motion
