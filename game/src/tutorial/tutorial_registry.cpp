#include "tutorial/tutorial_registry.h"

#include "game_event.h"
#include "game_properties.h"
#include "save_section.h"

std::unique_ptr<TutorialRegistry>& TutorialRegistry::holder()
{
    static std::unique_ptr<TutorialRegistry> registry;
    return registry;
}

TutorialRegistry* TutorialRegistry::instance()
{
    std::unique_ptr<TutorialRegistry>& registry = holder();
    if (!registry)
        registry.reset(new TutorialRegistry());
    return registry.get();
}

bool TutorialRegistry::exists()
{
    return holder() != nullptr;
}

void TutorialRegistry::destroy()
{
    holder().reset();
}

void TutorialRegistry::add(TutorialSequence* sequence)
{
    for (const std::unique_ptr<TutorialSequence>& listed : sequences) {
        if (listed.get() == sequence)
            return;
    }
    sequences.emplace_back(sequence);
}

void TutorialRegistry::update(float dt)
{
    for (const std::unique_ptr<TutorialSequence>& sequence : sequences)
        sequence->update(dt);
}

void TutorialRegistry::save(AE::DataStream& stream) const
{
    // In list order, which is not the sorted order of the other tables.
    SectionWriter out(stream);
    out.u32(static_cast<uint32_t>(sequences.size()));
    for (const std::unique_ptr<TutorialSequence>& sequence : sequences) {
        out.cString(sequence->name);
        out.u32(4);
        out.i32(sequence->index);
    }
}

void TutorialRegistry::load(AE::DataStream& stream)
{
    SectionReader in(stream, GameProperties::TUTORIAL_SECTION);
    const NamedBlobs entries = readNamedBlobs(in);
    for (const std::unique_ptr<TutorialSequence>& sequence : sequences) {
        const auto entry = entries.find(sequence->name);
        // A blob too short for an index says nothing about the position.
        if (entry == entries.end() || entry->second.size() < 4)
            continue;
        const std::vector<uint8_t>& blob = entry->second;
        const int32_t index = static_cast<int32_t>(uint32_t(blob[0]) | uint32_t(blob[1]) << 8 |
                                                   uint32_t(blob[2]) << 16 | uint32_t(blob[3]) << 24);
        sequence->index = index;
        sequence->current = index >= 0 && index < static_cast<int32_t>(sequence->lessons.size())
                                ? sequence->lessons[static_cast<size_t>(index)].get()
                                : nullptr;
    }
}

bool TutorialRegistry::dispatchEvent(GameEvent* event)
{
    const std::unique_ptr<GameEvent> owned(event);
    if (!owned)
        return true;
    for (const std::unique_ptr<TutorialSequence>& sequence : sequences) {
        // A lesson that finishes on the event hands it to the next one, so
        // a level's start can end one lesson and open the next.
        while (TutorialLesson* lesson = sequence->current) {
            lesson->onEvent(owned.get());
            if (sequence->current == lesson)
                break;
        }
        if (owned->consumed)
            break;
    }
    return owned->allowed;
}

void TutorialRegistry::reset()
{
    for (const std::unique_ptr<TutorialSequence>& sequence : sequences) {
        sequence->index = 0;
        if (!sequence->lessons.empty())
            sequence->current = sequence->lessons.front().get();
        for (const std::unique_ptr<TutorialLesson>& lesson : sequence->lessons) {
            lesson->reset();
            lesson->setState(TutorialLesson::IDLE);
        }
    }
}

bool TutorialRegistry::isLessonActive() const
{
    for (const std::unique_ptr<TutorialSequence>& sequence : sequences)
        if (sequence->current && sequence->current->state == TutorialLesson::ACTIVE)
            return true;
    return false;
}

bool TutorialRegistry::isCellAllowed(const int cell[2]) const
{
    for (const std::unique_ptr<TutorialSequence>& sequence : sequences)
        if (sequence->current && !sequence->current->isCellAllowed(cell))
            return false;
    return true;
}
