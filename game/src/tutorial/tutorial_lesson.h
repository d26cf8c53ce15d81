#pragma once
// The lesson interface every tutorial lesson implements, and the two
// listener interfaces that tie lessons to their sequence and to their hint
// window.

#include <cstdint>

class GameEvent;

// Told by a lesson when it is done.
class TutorialLessonListener {
public:
    virtual ~TutorialLessonListener() = default;
    virtual void onLessonFinished() = 0;
};

// Told by the hint window when its show and hide animations end.
class TutorialWindowListener {
public:
    virtual ~TutorialWindowListener() = default;
    virtual void onWindowShown() {}
    virtual void onWindowClosed() = 0;
};

class TutorialLesson {
public:
    enum State : int32_t {
        IDLE = 0,
        ACTIVE = 1,
        DONE = 2,
    };

    // `owner`: the sequence or multi-lesson holding the lesson, told when it
    // is done; not owned.
    explicit TutorialLesson(TutorialLessonListener* owner) : owner(owner) {}
    virtual ~TutorialLesson() = default;
    TutorialLesson(const TutorialLesson&) = delete;
    TutorialLesson& operator=(const TutorialLesson&) = delete;

    // DONE tells the owner.
    virtual void setState(int s);
    virtual void onEvent(GameEvent* event) = 0;
    virtual void update(float dt) { (void)dt; }
    // `cell` is {column, row}.
    virtual bool isCellAllowed(const int cell[2]) const
    {
        (void)cell;
        return true;
    }
    // The lesson became current after its predecessor finished.
    virtual void onBecomeCurrent() {}
    // The progress reset sends the tutorial back to its start.
    virtual void reset() {}

    int32_t state = IDLE;
    TutorialLessonListener* owner;
};
