#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "task.h"
#include "task_manager.h"

namespace {

// A task that records its runs and finishes after `runsToFinish` of them.
struct ProbeTask : Task {
    ProbeTask(float d, bool blockRunning, bool blockDelayed, int runs, std::vector<std::string>* log, std::string n)
        : runsToFinish(runs), events(log), name(std::move(n))
    {
        delay = d;
        blockWhileRunning = blockRunning;
        blockWhileDelayed = blockDelayed;
    }
    ~ProbeTask() override { events->push_back("delete " + name); }
    bool run(float dt) override
    {
        events->push_back("run " + name);
        lastDt = dt;
        if (onRun)
            onRun();
        return ++runs >= runsToFinish;
    }
    int runsToFinish;
    int runs = 0;
    float lastDt = 0.0f;
    std::vector<std::string>* events;
    std::string name;
    std::function<void()> onRun;
};

TEST(TaskManager, UpdatesCountDownRunAndBlockAsTheFlagsSay)
{
    struct Step {
        float dt;
        bool expectedResult;
        bool expectedDelayedBlocking;
        int expectedCount;
    };
    struct Case {
        const char* what;
        float delay;
        bool blockRunning;
        bool blockDelayed;
        int runsToFinish;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"due at once, finishes, does not block", 0.0f, false, false, 1, {{0.016f, true, false, 0}}},
        {"blocks the frame it finishes in", 0.0f, true, false, 1, {{0.016f, false, false, 0}}},
        {"blocks every frame until it finishes", 0.0f, true, false, 3,
         {{0.016f, false, false, 1}, {0.016f, false, false, 1}, {0.016f, false, false, 0}, {0.016f, true, false, 0}}},
        {"waits its delay, holding the board while delayed", 0.5f, true, true, 2,
         {{0.3f, true, true, 1}, {0.3f, false, false, 1}, {0.3f, false, false, 0}}},
        {"a delay reaching exactly 0 is due", 0.25f, false, true, 1, {{0.25f, true, false, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> events;
        TaskManager manager;
        manager.addTask(new ProbeTask(c.delay, c.blockRunning, c.blockDelayed, c.runsToFinish, &events, "t"));
        for (const Step& step : c.steps) {
            EXPECT_EQ(manager.update(step.dt), step.expectedResult);
            EXPECT_EQ(manager.hasDelayedBlockingTask(), step.expectedDelayedBlocking);
            EXPECT_EQ(manager.count, step.expectedCount);
        }
    }
}

TEST(TaskManager, EmptyManagerIsIdle)
{
    TaskManager manager;
    EXPECT_TRUE(manager.update(0.016f));
    EXPECT_FALSE(manager.hasDelayedBlockingTask());
    EXPECT_EQ(manager.count, 0);
}

TEST(TaskManager, DisabledManagerNeitherCountsDownNorRuns)
{
    std::vector<std::string> events;
    TaskManager manager;
    auto* task = new ProbeTask(0.1f, false, true, 1, &events, "t");
    manager.addTask(task);
    manager.enabled = false;
    EXPECT_FALSE(manager.update(1.0f));
    EXPECT_FLOAT_EQ(task->delay, 0.1f);
    EXPECT_TRUE(events.empty());
    manager.enabled = true;
    EXPECT_TRUE(manager.update(1.0f));
    EXPECT_EQ(events, (std::vector<std::string>{"run t", "delete t"}));
}

TEST(TaskManager, TaskAddedDuringUpdateIsVisitedInTheSameWalk)
{
    std::vector<std::string> events;
    TaskManager manager;
    auto* first = new ProbeTask(0.0f, false, false, 1, &events, "first");
    auto* second = new ProbeTask(0.0f, false, false, 1, &events, "second");
    ProbeTask* late = nullptr;
    ProbeTask* delayed = nullptr;
    first->onRun = [&] {
        late = new ProbeTask(0.0f, false, false, 1, &events, "late");
        manager.addTask(late);
        delayed = new ProbeTask(0.2f, false, false, 1, &events, "delayed");
        manager.addTask(delayed);
    };
    manager.addTask(first);
    manager.addTask(second);
    EXPECT_TRUE(manager.update(0.016f));
    // The task added with delay 0 runs after the tasks that were there before
    // it, with the whole frame step; the delayed one has counted down once.
    EXPECT_EQ(events, (std::vector<std::string>{"run first", "delete first", "run second", "delete second",
                                                "run late", "delete late"}));
    EXPECT_EQ(manager.count, 1);
    EXPECT_NEAR(delayed->delay, 0.184f, 1e-6f);
}

TEST(TaskManager, ClearDeletesEveryTaskInListOrder)
{
    std::vector<std::string> events;
    {
        TaskManager manager;
        manager.addTask(new ProbeTask(1.0f, false, false, 1, &events, "a"));
        manager.addTask(new ProbeTask(0.0f, false, false, 5, &events, "b"));
        manager.update(0.016f);
        manager.clear();
        EXPECT_EQ(manager.count, 0);
        EXPECT_TRUE(manager.tasks.empty());
        manager.addTask(new ProbeTask(1.0f, false, false, 1, &events, "c"));
    }
    EXPECT_EQ(events, (std::vector<std::string>{"run b", "delete a", "delete b", "delete c"}));
}

}  // namespace
