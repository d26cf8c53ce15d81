#pragma once
// The process-wide list of tutorial sequences, kept by the application, and
// the "tutorial" section of the profile file that restores their positions.
// The application's set-up fills the list from "tutorial_lua".

#include <memory>
#include <vector>

#include "tutorial/tutorial_sequence.h"

namespace AE {
class DataStream;
}
class GameEvent;

class TutorialRegistry {
public:
    // The registry, created empty on first use.
    static TutorialRegistry* instance();
    static bool exists();
    // Deletes the registry with its sequences.
    static void destroy();

    // Appends unless the sequence is already listed; the registry owns it.
    void add(TutorialSequence* sequence);
    // The current lesson of every sequence, in list order.
    void update(float dt);

    // Count, then per sequence its name, a 0 byte, the length 4 and its
    // position.
    void save(AE::DataStream& stream) const;
    // Reads the section to its end; entries naming no sequence of the list
    // are ignored.
    void load(AE::DataStream& stream);

    // Takes the event, hands it to the current lesson of every sequence
    // (on to the next lesson when one finishes meanwhile), deletes it and
    // answers its `allowed` flag (true for no event).
    bool dispatchEvent(GameEvent* event);

    // Every sequence back to its first lesson, every lesson idle.
    void reset();

    // A lesson is on screen: the level's timers, warnings and menus wait.
    bool isLessonActive() const;
    // False when the current lesson of any sequence refuses the board cell
    // {column, row}.
    bool isCellAllowed(const int cell[2]) const;

    std::vector<std::unique_ptr<TutorialSequence>> sequences;

private:
    TutorialRegistry() = default;
    static std::unique_ptr<TutorialRegistry>& holder();
};
