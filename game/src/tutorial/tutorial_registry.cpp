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
    SectionWriter out(stream);
    writeNamedBlobs(out, {});
}

void TutorialRegistry::load(AE::DataStream& stream)
{
    SectionReader in(stream, GameProperties::TUTORIAL_SECTION);
    // No sequence to restore yet: the entries are read, checked and passed
    // over.
    readNamedBlobs(in);
}

bool TutorialRegistry::dispatchEvent(GameEvent* event)
{
    const std::unique_ptr<GameEvent> owned(event);
    // No sequence has a lesson to hand it to yet.
    return !owned || owned->allowed;
}

void TutorialRegistry::reset()
{
    for (const std::unique_ptr<TutorialSequence>& sequence : sequences)
        sequence->index = 0;
}
