#pragma once
// One tutorial sequence: the lessons of the script it is named after, in
// script order, one of them current. A sequence moves on only when its
// current lesson tells it that it is done.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tutorial/tutorial_lesson.h"

namespace VQ {
class LuaScript2;
}

class TutorialSequence : public TutorialLessonListener {
public:
    // Loads the lesson script `name` of package "default"; a missing script
    // is fatal.
    explicit TutorialSequence(std::string name);
    // A sequence of the given lessons, their owner set to it; for tools and
    // tests that build lessons without a script.
    TutorialSequence(std::string name, std::vector<std::unique_ptr<TutorialLesson>> given);
    ~TutorialSequence() override;

    void onLessonFinished() override;
    // The current lesson's step.
    void update(float dt);
    bool isOver() const { return current == nullptr; }

    std::string name;
    std::vector<std::unique_ptr<TutorialLesson>> lessons;
    TutorialLesson* current = nullptr;  // null when over or empty
    int32_t index = 0;                  // equals the lesson count when over
};

// The lessons of the entries of the table on top of the script's stack
// (each {class, data}), in Lua's iteration order, with `owner`; `accepted`
// says which class names may appear, others are skipped.
std::vector<std::unique_ptr<TutorialLesson>> readLessonEntries(VQ::LuaScript2& script, TutorialLessonListener* owner,
                                                               bool (*accepted)(const std::string& className));
