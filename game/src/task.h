#pragma once
// A timed step on the board: destroying a chip, hitting a tile, sliding
// chips. The task manager counts its delay down and runs it every frame
// once due, until it reports that it has finished.

class Task {
public:
    virtual ~Task() = default;
    // One step with the frame's time step; true when finished (the manager
    // then deletes the task).
    virtual bool run(float dt) = 0;
    // 0 for the board's own tasks; the fusion tasks use 1 and 2.
    virtual int getType() { return 0; }

    // Seconds left before the first run; keeps going down while the task runs.
    float delay = 0.0f;
    // A frame in which this task runs is a busy frame for the board.
    bool blockWhileRunning = false;
    // While still waiting, holds gravity, idle actions and spawning.
    bool blockWhileDelayed = false;
};
