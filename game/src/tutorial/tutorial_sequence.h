#pragma once
// One tutorial sequence: the lessons of the script it is named after, one
// of them current. The lessons arrive with the tutorial itself; until then
// a sequence holds none and is over from the start.

#include <cstdint>
#include <string>

class TutorialSequence {
public:
    // `name`: the resource name of the sequence's lesson script.
    explicit TutorialSequence(std::string name);

    // The current lesson's step; nothing while there is none.
    void update(float dt) { (void)dt; }

    std::string name;
    int32_t index = 0;
};
