// Reading behaviour layers, their action lists and drawables from the chip
// prototype script.
#include <memory>

#include "behavior.h"
#include "chip_prototype.h"
#include "layer_sound.h"
#include "lua_array.h"
#include "lua_script_2.h"

namespace {

// Flags are numbers; a value that is absent or not numeric (a Lua boolean
// included) gives the default.
bool readFlag(VQ::LuaScript2& script, const char* key, bool defaultValue)
{
    int value = 0;
    return script.getInt(key, value, defaultValue ? 1 : 0) ? value != 0 : defaultValue;
}

void loadGroup(VQ::LuaScript2& script, const char* key, DrawablesGroup& group, const std::string& suffix)
{
    if (!script.openTable(key))
        return;
    group.load(script, suffix);
    script.closeTable();
}

}  // namespace

void DrawablesGroup::load(VQ::LuaScript2& script, const std::string& suffix)
{
    forEachElement(script, [&] {
        if (!script.enterTable())
            return;
        if (Drawable* drawable = loadDrawableEntry(script, suffix))
            add(drawable);
        script.closeTable();
    });
}

Drawable* loadDrawableEntry(VQ::LuaScript2& script, const std::string& suffix)
{
    std::string type, resource, third;
    int layer = 0, noSuffix = 0;
    script.stringAt(1, type);
    script.stringAt(2, resource);
    script.stringAt(3, third);
    script.getIntAt(4, layer);
    script.getIntAt(5, noSuffix);
    return createDrawable(type, resource, third, layer, noSuffix != 0 ? std::string() : suffix);
}

void ActionsGroup::load(VQ::LuaScript2& script)
{
    forEachElement(script, [&] {
        std::string text;
        if (!script.topString(text))
            return;
        if (Action* action = createActionByName(text))
            add(action);
    });
}

void BehaviorsGroup::load(VQ::LuaScript2& script, const std::string& suffix)
{
    forEachElement(script, [&] {
        if (!script.enterTable())
            return;
        add(loadBehavior(script, suffix));
        script.closeTable();
    });
}

Behavior* loadBehavior(VQ::LuaScript2& script, const std::string& suffix)
{
    // Held until it is whole: a fatal report raised while reading (turned into
    // an exception where a hook catches it) must not leak it.
    auto layer = std::make_unique<Behavior>();
    std::string name;
    script.getString("Name", name);
    layer->type = behaviorTypeFromName(name);

    layer->MultipleColors = readFlag(script, "MultipleColors", true);
    const std::string drawableSuffix = layer->MultipleColors ? suffix : std::string();

    if (script.openTable("OnDestroyActions")) {
        layer->OnDestroyActions.load(script);
        script.closeTable();
    }
    if (script.openTable("OnIdleActions")) {
        layer->OnIdleActions.load(script);
        script.closeTable();
    }
    loadGroup(script, "OnIdleDrawables", layer->OnIdleDrawables, drawableSuffix);
    loadGroup(script, "OnSelectDrawables", layer->OnSelectDrawables, drawableSuffix);
    loadGroup(script, "OnDestroyDrawables", layer->OnDestroyDrawables, drawableSuffix);
    loadGroup(script, "HotspotDrawables", layer->HotspotDrawables, drawableSuffix);
    loadGroup(script, "InGroupDrawables", layer->InGroupDrawables, drawableSuffix);
    loadGroup(script, "OnDetonateDrawables", layer->OnDetonateDrawables, drawableSuffix);

    layer->CanFalling = readFlag(script, "CanFalling", true);
    layer->CanIterateWithGroup = readFlag(script, "CanIterateWithGroup", true);
    layer->LevelGoal = readFlag(script, "LevelGoal", false);
    int score = 0;
    script.getInt("score", score, 0);
    layer->score = score;
    std::string sound;
    script.getString("onDestroySound", sound);
    layer->destroySound = acquireLayerSound(sound);

    // The registered copy keeps restart-on-show on every group; the layer read
    // here (and every chip made from it) does not restart its state drawables
    // when they are shown again.
    registerBehaviorPrototype(*layer, colourIndexOfSuffix(suffix));
    layer->OnIdleDrawables.setRestartOnShow(false);
    layer->OnSelectDrawables.setRestartOnShow(false);
    layer->InGroupDrawables.setRestartOnShow(false);
    layer->OnDetonateDrawables.setRestartOnShow(false);
    return layer.release();
}
