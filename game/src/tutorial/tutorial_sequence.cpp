#include "tutorial/tutorial_sequence.h"

#include <utility>

#include "fatal_error.h"
#include "lua_array.h"
#include "lua_script_2.h"
#include "tutorial/tutorial_lessons.h"

namespace {

bool anyLessonKind(const std::string& className)
{
    (void)className;
    return true;
}

}  // namespace

std::vector<std::unique_ptr<TutorialLesson>> readLessonEntries(VQ::LuaScript2& script, TutorialLessonListener* owner,
                                                               bool (*accepted)(const std::string& className))
{
    std::vector<std::unique_ptr<TutorialLesson>> out;
    forEachElement(script, [&] {
        if (!script.enterTable())
            return;
        std::string className;
        script.getString("class", className);
        if (accepted(className) && script.openTable("data")) {
            if (std::unique_ptr<TutorialLesson> lesson = createTutorialLesson(className, script, owner))
                out.push_back(std::move(lesson));
            script.closeTable();
        }
        script.closeTable();
    });
    return out;
}

TutorialSequence::TutorialSequence(std::string scriptName) : name(std::move(scriptName))
{
    VQ::LuaScript2 script;
    std::string error;
    if (!script.load(name, "default", &error)) {
        // A script that exists but fails is not a missing file.
        if (!error.empty())
            VQ::assertFailed("VQ", "Failed to load lesson script " + name + ": " + error, "tutorial_sequence", 18);
        VQ::assertFailed("VQ", name + " file not found!", "tutorial_sequence", 18);
    }
    if (script.openTable("lessons")) {
        lessons = readLessonEntries(script, this, anyLessonKind);
        script.closeTable();
    }
    if (!lessons.empty())
        current = lessons.front().get();
}

TutorialSequence::TutorialSequence(std::string sequenceName, std::vector<std::unique_ptr<TutorialLesson>> given) :
    name(std::move(sequenceName)), lessons(std::move(given))
{
    for (const std::unique_ptr<TutorialLesson>& lesson : lessons)
        lesson->owner = this;
    if (!lessons.empty())
        current = lessons.front().get();
}

TutorialSequence::~TutorialSequence() = default;

void TutorialSequence::onLessonFinished()
{
    ++index;
    if (index < 0 || index >= static_cast<int32_t>(lessons.size())) {
        current = nullptr;
        return;
    }
    current = lessons[static_cast<size_t>(index)].get();
    current->onBecomeCurrent();
}

void TutorialSequence::update(float dt)
{
    if (current)
        current->update(dt);
}
