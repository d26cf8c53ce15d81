#pragma once
// The board's list of pending tasks, in the order they were added. Owns
// them: a task is deleted when it finishes, on clear and with the manager.

#include <list>

class Task;

class TaskManager {
public:
    TaskManager() = default;
    virtual ~TaskManager();
    TaskManager(const TaskManager&) = delete;
    TaskManager& operator=(const TaskManager&) = delete;

    // Takes ownership; may be called from inside a running task.
    void addTask(Task* task);
    // Counts delays down and runs the due tasks. True when no task that
    // blocks while running ran in this frame; false for a disabled manager.
    bool update(float dt);
    bool hasDelayedBlockingTask() const;
    // Every pending task reports `type` (true for none pending).
    bool allTasksOfType(int type) const;
    void clear();

    std::list<Task*> tasks;
    int count = 0;
    bool enabled = true;
};
