// The building of widget trees from Lua UI scripts: UIManager::loadUI and
// UIManager::createWidget.

#include <functional>
#include <map>

#include "fatal_error.h"
#include "lex_binded_function_manager.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "ui/lex_binded_function.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"
#include "ui/ui_list_view.h"
#include "ui/ui_manager.h"
#include "ui/ui_particle_fx.h"
#include "ui/ui_progress_bar.h"
#include "animationeditor/scene_node.h"
#include "ui/ui_scene_list.h"
#include "ui/ui_scene_node.h"
#include "ui/ui_script_keys.h"
#include "ui/ui_scroll_area.h"
#include "ui/ui_sprite.h"
#include "ui/ui_text_edit.h"

namespace VQ {

namespace {

const char* const FILE_TAG = "ui_manager";
// "instance", "related" and "childs" may nest this deep; a table that names
// itself would otherwise recurse until the stack runs out.
constexpr int MAX_NESTING = 64;

// Makes a widget of one class: the constructor and the keys read at
// creation; the common and class keys come after.
using WidgetMaker = std::function<std::unique_ptr<UIWidget>(LuaScript2&, const std::string&, UIWidget*)>;

void forEachEntryOf(LuaScript2& script, const std::string& key, const std::function<void()>& body);

// A node of the list's tree that can become an item: below the list node
// (the list node itself would become its own child) and not yet an item's
// (two items would delete one scene twice).
bool usableItemNode(const UISceneList& list, AE::ISceneNode* node)
{
    if (!node || node == list.listNode)
        return false;
    for (const AE::ISceneNode* n = list.listNode; n; n = n->parent)
        if (n == node)
            return false;
    for (const UISceneListItem* item : list.items)
        if (item->scene == node)
            return false;
    return true;
}

template <typename T>
WidgetMaker plain()
{
    return [](LuaScript2&, const std::string& name, UIWidget* parent) { return std::make_unique<T>(name, parent); };
}

const std::map<std::string, WidgetMaker>& widgetClasses()
{
    static const std::map<std::string, WidgetMaker> classes = {
        {"UIWidget", plain<UIWidget>()},
        {"UIButton", plain<UIButton>()},
        {"UILabel", plain<UILabel>()},
        {"UICheckBox", plain<UICheckBox>()},
        {"UITextEdit", plain<UITextEdit>()},
        {"UISprite",
         [](LuaScript2& script, const std::string& name, UIWidget* parent) {
             std::string image;
             std::string table;
             std::string package = "default";
             UIKeys::readString(script, "imagename", image);
             UIKeys::readString(script, "tablename", table);
             UIKeys::readString(script, "package", package);
             return std::make_unique<UISprite>(name, parent, image, table, package);
         }},
        {"UIProgressBar", plain<UIProgressBar>()},
        {"UIScrollArea", plain<UIScrollArea>()},
        {"UIListView", plain<UIListView>()},
        {"UIParticleFX",
         [](LuaScript2& script, const std::string& name, UIWidget* parent) {
             std::string file;
             if (!UIKeys::readString(script, "filename", file))
                 assertFailed("VQ", "Failed to read filename for UIParticleFX", FILE_TAG, 398);
             return std::make_unique<UIParticleFX>(name, parent, file);
         }},
        {"UISceneNode",
         [](LuaScript2& script, const std::string& name, UIWidget* parent) {
             std::string scene;
             UIKeys::readString(script, "scene", scene);
             bool owned = false;
             AE::ISceneNode* node = resolveWidgetScene(parent, scene, owned);
             auto host = std::make_unique<UISceneNode>(name, parent, node, owned);
             Vector2f scale(1.0f, 1.0f);
             if (host->node && UIKeys::readVector(script, "scale", scale)) {
                 host->node->setScaleX(scale.x);
                 host->node->setScaleY(scale.y);
             }
             return host;
         }},
        {"UISceneList",
         [](LuaScript2& script, const std::string& name, UIWidget* parent) -> std::unique_ptr<UIWidget> {
             std::string scene;
             std::string type;
             UIKeys::readString(script, "scene", scene);
             UIKeys::readString(script, "type", type);
             bool owned = false;
             AE::ISceneNode* node = resolveWidgetScene(parent, scene, owned);
             auto list = std::make_unique<UISceneList>(name, parent, node, type == "book" ? UISceneList::BOOK
                                                                                       : UISceneList::STRIP,
                                                       owned);
             UIKeys::readUInt(script, "scrolling", list->scrollFlags);
             std::string orient;
             if (UIKeys::readString(script, "orient", orient))
                 list->vertical = orient != "hor";
             forEachEntryOf(script, "items", [&] {
                 std::string itemScene;
                 std::string id;
                 UIKeys::readString(script, "scene", itemScene);
                 UIKeys::readString(script, "id", id);
                 UISceneListItem* item = nullptr;
                 if (!itemScene.empty() && itemScene[0] == '/') {
                     AE::ISceneNode* found = list->listNode->findByPath(itemScene);
                     if (usableItemNode(*list, found))
                         item = new UISceneListItem(id, found);
                     else
                         log(formatString("ERROR: Can't load scene node from %s!", itemScene.c_str()));
                 } else {
                     item = new UISceneListItem(itemScene, id);
                     if (!item->scene) {
                         delete item;
                         item = nullptr;
                     }
                 }
                 if (item)
                     list->addItem(item);
             });
             return list;
         }},
    };
    return classes;
}

bool hasCaption(const UIWidget& widget)
{
    const int32_t type = widget.getType();
    return type == UIWidget::TYPE_BUTTON || type == UIWidget::TYPE_CHECK_BOX || type == UIWidget::TYPE_TEXT_EDIT;
}

// Opens the array `key` of the open table and calls `body` with each entry
// that is a table, open; entries of other kinds are skipped.
void forEachEntryOf(LuaScript2& script, const std::string& key, const std::function<void()>& body)
{
    if (!script.openTable(key))
        return;
    forEachTableEntry(script, body, [] {});
    script.closeTable();
}

std::unique_ptr<UIState::IPropertyChange> buildChange(LuaScript2& script, UIWidget& owner)
{
    std::string targetName;
    std::string property;
    std::string transition;
    float duration = 0.0f;
    UIKeys::readString(script, "target", targetName);
    UIKeys::readString(script, "property", property);
    UIKeys::readString(script, "transition", transition);
    UIKeys::readFloat(script, "duration", duration);
    UIWidget* target = owner.findChild(targetName);
    if (!target) {
        log(formatString("ERROR: UIManager::createState bad target widget specified '%s', widget '%s'",
                         targetName.c_str(), owner.name.c_str()));
        return nullptr;
    }
    if (property == "transparency") {
        float value = 0.0f;
        UIKeys::readFloat(script, "value", value);
        return std::make_unique<UIState::PropertyChange<float>>(target, &target->transparency, duration, value);
    }
    if (property == "offset") {
        Vector2f value(0.0f, 0.0f);
        UIKeys::readVector(script, "value", value);
        return std::make_unique<UIState::PropertyChange<Vector2f>>(target, &target->offset, duration, value);
    }
    if (property == "color") {
        Color value;
        UIKeys::readColor(script, "value", value);
        return std::make_unique<UIState::PropertyChange<Color>>(target, &target->color, duration, value);
    }
    if (property == "scale" && target->getType() == UIWidget::TYPE_SPRITE) {
        Vector2f value(0.0f, 0.0f);
        UIKeys::readVector(script, "value", value);
        auto* sprite = static_cast<UISprite*>(target);
        return std::make_unique<UIState::PropertyChange<Vector2f>>(target, &sprite->scale, duration, value);
    }
    log(formatString("ERROR: UIManager::createState bad property change specified '%s', widget '%s'",
                     property.c_str(), owner.name.c_str()));
    return nullptr;
}

void buildStates(LuaScript2& script, UIWidget& widget)
{
    forEachEntryOf(script, "states", [&] {
        std::string stateName;
        if (!UIKeys::readString(script, "id", stateName) || !script.openTable("propertyChanges"))
            return;
        auto state = std::make_unique<UIState>(stateName);
        forEachTableEntry(
            script,
            [&] {
                if (auto change = buildChange(script, widget))
                    state->add(std::move(change));
            },
            [] {});
        script.closeTable();
        if (!state->changes.empty())
            widget.addState(stateName, std::move(state));
    });
    if (widget.currentState)
        for (const auto& change : widget.currentState->changes)
            change->finish();
}

}  // namespace

void splitCommand(const std::string& command, std::string& function, std::vector<std::string>& arguments)
{
    arguments.clear();
    const size_t colon = command.find(':');
    function = command.substr(0, colon);
    if (colon == std::string::npos)
        return;
    std::string piece;
    auto flush = [&] {
        if (!piece.empty())
            arguments.push_back(piece);
        piece.clear();
    };
    for (size_t i = colon + 1; i < command.size(); ++i) {
        const char c = command[i];
        if (c == ',')
            flush();
        else if (c != ' ')
            piece.push_back(c);
    }
    flush();
}

namespace {

void connectEvents(LuaScript2& script, UIWidget& widget)
{
    forEachEntryOf(script, "events", [&] {
        std::string element;
        std::string slot;
        std::string command;
        UIKeys::readString(script, "element", element);
        UIKeys::readString(script, "slot", slot);
        UIKeys::readString(script, "command", command);
        UIWidget* emitter = widget.findChild(element);
        if (!emitter)
            return;
        std::string function;
        std::vector<std::string> arguments;
        splitCommand(command, function, arguments);
        if (function.size() < 2)
            return;
        LexBindedFunctionManager* functions = LexBindedFunctionManager::instancePtr();
        ILexBinder* binder = functions ? functions->find(function) : nullptr;
        if (!binder)
            return;
        emitter->connect(slot, std::make_unique<LexBindedFunction>(binder->bind(arguments)));
    });
}

void buildCaption(LuaScript2& script, UIWidget& widget)
{
    int32_t captionOrder = int32_t(widget.children.size());
    UIKeys::readInt(script, "captionOrder", captionOrder);
    UIWidget* found = widget.findChild("caption");
    if (found) {
        auto* label = dynamic_cast<UILabel*>(found);
        if (!label) {
            log(formatString("ERROR: UIManager::createWidget caption of widget '%s' is not a label",
                             widget.name.c_str()));
            return;
        }
        label->size = widget.contentBounds();
        label->halign = 1;
        label->valign = 1;
        label->loadLabelKeys(script);
        return;
    }
    auto caption = std::make_unique<UILabel>("caption", &widget);
    caption->size = widget.contentBounds();
    caption->halign = 1;
    caption->valign = 1;
    caption->loadLabelKeys(script);
    caption->addDefaultIdleState();
    // A negative place leaves the widget without a caption.
    if (captionOrder >= 0)
        widget.insertChild(caption.release(), size_t(captionOrder));
}

// The list view's item container: its descendant "childScrollArea" when
// that is a scroll area, else a new one; the list's table configures it.
void buildChildScrollArea(LuaScript2& script, UIListView& list)
{
    auto* area = dynamic_cast<UIScrollArea*>(list.findChild("childScrollArea"));
    if (!area) {
        auto created = std::make_unique<UIScrollArea>("childScrollArea", &list);
        created->loadScrollKeys(script);
        created->addDefaultIdleState();
        area = created.get();
        list.insertChild(created.release(), list.children.size());
    } else {
        area->loadScrollKeys(script);
        // One found deeper moves up: two parents would delete it twice.
        if (area->parent != &list) {
            area->parent->detachChild(area);
            list.insertChild(area, list.children.size());
        }
    }
    list.scrollArea = area;
}

}  // namespace

UIWidget* UIManager::loadUI(const std::string& script, const std::string& table, UIWidget* parent,
                            const std::string& package)
{
    return loadUIAt(script, table, parent, package, 0, true);
}

UIWidget* UIManager::loadUIAt(const std::string& script, const std::string& table, UIWidget* parent,
                              const std::string& package, int depth, bool addAsRoot)
{
    LuaScript2 lua;
    std::string error;
    if (!lua.load(script, package, &error)) {
        // The report's text stays as it is; what Lua said goes to the log.
        if (!error.empty())
            log(formatString("ERROR: ui script %s: %s", script.c_str(), error.c_str()));
        assertFailed("VQ", formatString("Failed to load ui script %s", script.c_str()), FILE_TAG, 118);
    }
    if (!lua.openTable(table))
        assertFailed("VQ", formatString("Failed to load UI table %s from %s", table.c_str(), script.c_str()),
                     FILE_TAG, 120);
    UIWidget* widget = createWidgetAt(lua, parent, script, depth);
    lua.closeTable();
    if (!parent && addAsRoot)
        addRoot(widget);
    return widget;
}

UIWidget* UIManager::createWidget(LuaScript2& script, UIWidget* parent)
{
    return createWidgetAt(script, parent, "", 0);
}

UIWidget* UIManager::createWidgetAt(LuaScript2& script, UIWidget* parent, const std::string& scriptName, int depth)
{
    if (depth > MAX_NESTING)
        assertFailed("VQ", formatString("UI tables nest deeper than %d levels in %s", MAX_NESTING, scriptName.c_str()),
                     FILE_TAG, 166);

    forEachEntryOf(script, "related", [&] {
        std::string file;
        std::string id;
        UIKeys::readString(script, "filename", file);
        UIKeys::readString(script, "id", id);
        if (!file.empty() && !id.empty())
            loadUIAt(file, id, nullptr, "default", depth + 1, true);
    });

    std::string id;
    std::string className;
    if (!UIKeys::readString(script, "id", id))
        assertFailed("VQ", "Failed to read UI identity", FILE_TAG, 167);
    if (!UIKeys::readString(script, "class", className))
        assertFailed("VQ", "Failed to read UI class name", FILE_TAG, 168);

    // Owns the widget while it has no parent to: a fatal report in the
    // middle of the build leaves nothing behind.
    std::unique_ptr<UIWidget> unparented;
    UIWidget* widget = nullptr;
    std::string instance;
    if (UIKeys::readString(script, "instance", instance) && !instance.empty() && instance[0] == '#') {
        const size_t colon = instance.find(':');
        const std::string otherScript = instance.substr(1, colon == std::string::npos ? std::string::npos : colon - 1);
        if (otherScript.empty())
            assertFailed("VQ", "Bad url specified in UI", FILE_TAG, 180);
        const std::string otherTable = colon == std::string::npos ? "" : instance.substr(colon + 1);
        if (otherTable.empty())
            assertFailed("VQ", "Bad url specified in UI", FILE_TAG, 181);
        // Not a root of its own: it becomes this table's widget.
        widget = loadUIAt(otherScript, otherTable, parent, "default", depth + 1, false);
        if (!parent)
            unparented.reset(widget);
        widget->name = id;
        widget->loadProperties(script);
    } else {
        const auto& classes = widgetClasses();
        const auto maker = classes.find(className);
        if (maker == classes.end())
            assertFailed("VQ", formatString("Unknown UI class name %s", className.c_str()), FILE_TAG, 168);
        unparented = maker->second(script, id, parent);
        widget = unparented.get();
        widget->loadProperties(script);
        if (parent) {
            parent->insertChild(unparented.release(), parent->children.size());
        }
    }

    forEachEntryOf(script, "childs", [&] { createWidgetAt(script, widget, scriptName, depth + 1); });

    if (hasCaption(*widget))
        buildCaption(script, *widget);
    else if (auto* list = dynamic_cast<UIListView*>(widget))
        buildChildScrollArea(script, *list);

    buildStates(script, *widget);
    connectEvents(script, *widget);

    forEachEntryOf(script, "components", [&] {
        std::string componentClass;
        UIKeys::readString(script, "class", componentClass);
        UIComponentFactory* factory = findComponentFactory(componentClass);
        if (!factory)
            return;
        std::unique_ptr<UIComponent> component = factory->create();
        if (!component)
            return;
        component->owner = widget;
        component->load(script);
        widget->addComponent(std::move(component));
    });

    widget->addDefaultHideState();
    if (widget->enabled && widget->visible && !widget->deleteMark) {
        std::string initialState;
        if (UIKeys::readString(script, "initialState", initialState))
            widget->setStateForcibly(initialState);
    } else {
        widget->setStateForcibly("onDisable");
    }
    unparented.release();
    return widget;
}

}  // namespace VQ
