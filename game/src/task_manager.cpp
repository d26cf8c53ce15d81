#include "task_manager.h"

#include "task.h"

TaskManager::~TaskManager()
{
    clear();
}

void TaskManager::addTask(Task* task)
{
    tasks.push_back(task);
    ++count;
}

bool TaskManager::update(float dt)
{
    if (!enabled)
        return false;
    bool result = true;
    // std::list iterators stay valid while tasks are appended, so a task added
    // by a running task is reached later in this same walk.
    for (auto it = tasks.begin(); it != tasks.end();) {
        Task* task = *it;
        task->delay -= dt;
        if (task->delay > 0.0f || task->delay != task->delay) {
            ++it;
            continue;
        }
        if (task->blockWhileRunning)
            result = false;
        if (task->run(dt)) {
            delete task;
            it = tasks.erase(it);
            --count;
        } else {
            ++it;
        }
    }
    return result;
}

bool TaskManager::hasDelayedBlockingTask() const
{
    for (const Task* task : tasks)
        if (task->delay > 0.0f && task->blockWhileDelayed)
            return true;
    return false;
}

void TaskManager::clear()
{
    for (Task* task : tasks)
        delete task;
    tasks.clear();
    count = 0;
}

bool TaskManager::allTasksOfType(int type) const
{
    for (Task* task : tasks)
        if (task->getType() != type)
            return false;
    return true;
}
