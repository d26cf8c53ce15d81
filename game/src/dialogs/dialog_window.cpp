#include "dialogs/dialog_window.h"

#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "dialogs/dialog_window_manager.h"
#include "fatal_error.h"
#include "log_system.h"
#include "scene_layout.h"
#include "ui/ui_manager.h"
#include "ui/ui_scene_node.h"
#include "ui/ui_widget.h"
#include "utils.h"

void setSceneText(AE::ISceneNode* node, const std::string& text, bool localized)
{
    auto* textNode = dynamic_cast<AE::TextSceneNode*>(node);
    if (!textNode)
        return;
    textNode->localized = localized;
    textNode->setText(text);
}

DialogWindowListener::~DialogWindowListener()
{
    DialogWindowManager* manager = DialogWindowManager::instancePtr();
    // The manager's own lists are gone by the time its listener part ends.
    if (!manager || static_cast<DialogWindowListener*>(manager) == this)
        return;
    std::lock_guard<std::recursive_mutex> lock(manager->listMutex());
    for (DialogWindow* window : manager->windows)
        window->removeListener(this);
}

void DialogWindow::addListener(DialogWindowListener* listener)
{
    DialogWindowManager* manager = DialogWindowManager::instancePtr();
    std::unique_lock<std::recursive_mutex> lock;
    if (manager)
        lock = std::unique_lock<std::recursive_mutex>(manager->listMutex());
    if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

void DialogWindow::removeListener(DialogWindowListener* listener)
{
    DialogWindowManager* manager = DialogWindowManager::instancePtr();
    std::unique_lock<std::recursive_mutex> lock;
    if (manager)
        lock = std::unique_lock<std::recursive_mutex>(manager->listMutex());
    auto it = std::find(listeners.begin(), listeners.end(), listener);
    if (it != listeners.end())
        listeners.erase(it);
}

DialogWindow::DialogWindow(const std::string& script, const std::string& table, const std::string& child)
{
    loadTree(script, table, child);
}

void DialogWindow::loadTree(const std::string& script, const std::string& table, const std::string& child)
{
    scriptName = script;
    VQ::log(VQ::formatString("loading ui: %s", script.c_str()));
    root = VQ::UIManager::instance()->loadUI(script, table, nullptr, "default");
    root->hideForcibly();
    auto* host = dynamic_cast<VQ::UISceneNode*>(requireWidget(child));
    scene = host ? host->node : nullptr;
    if (!scene)
        VQ::assertFailed("VQ", "Window '" + child + "' of " + script + " hosts no scene", "dialog_window", __LINE__);
    scene->stop(true);
    showMarker = scene->requireMarker("show");
    hideMarker = scene->requireMarker("hide");
    if (!showMarker || !hideMarker)
        VQ::assertFailed("VQ", "The scene of " + script + " lacks its show or hide marker", "dialog_window",
                         __LINE__);
    showMarker->addListener(this);
    hideMarker->addListener(this);
    if (AE::Marker* init = scene->requireMarker("init"))
        init->start(true);
    DialogWindowManager::instance()->registerWindow(this);
    applyWidgetLayout(root);
}

DialogWindow::~DialogWindow()
{
    // The scene outlives the window until the UI manager's next update.
    if (showMarker)
        showMarker->removeListener(this);
    if (hideMarker)
        hideMarker->removeListener(this);
    if (root)
        root->deleteMark = true;
    if (DialogWindowManager* manager = DialogWindowManager::instancePtr())
        manager->unregisterWindow(this);
}

VQ::UIWidget* DialogWindow::requireWidget(const std::string& name) const
{
    VQ::UIWidget* widget = root ? root->findChild(name) : nullptr;
    if (!widget)
        VQ::assertFailed("VQ", "Widget '" + name + "' is missing in " + scriptName, "dialog_window", __LINE__);
    return widget;
}

void DialogWindow::connectClicked(VQ::UIWidget* widget, std::unique_ptr<VQ::IFunction> function)
{
    widget->connect("clicked", std::move(function));
}

AE::ISceneNode* DialogWindow::sceneNode(const std::string& name) const
{
    return scene ? scene->findNode(name) : nullptr;
}

AE::Marker* DialogWindow::listenToMarker(const std::string& name)
{
    if (!scene)
        return nullptr;
    AE::Marker* marker = scene->requireMarker(name);
    if (!marker)
        VQ::assertFailed("VQ", "The scene of " + scriptName + " lacks its marker " + name, "dialog_window", __LINE__);
    marker->addListener(this);
    return marker;
}

bool DialogWindow::isTopmost() const
{
    const DialogWindowManager* manager = DialogWindowManager::instancePtr();
    return manager && manager->topWindow() == this;
}

void DialogWindow::show(bool queued)
{
    if (!root || state == SHOWN || state == SHOWING)
        return;
    if (queued) {
        DialogWindowManager::instance()->show(this, true);
        return;
    }
    root->showForcibly();
    hideMarker->stop(false);
    showMarker->start(true);
    state = SHOWING;
    setButtonsEnabled(false, root);
    DialogWindowManager::instance()->show(this, false);
}

void DialogWindow::hide()
{
    if (state != SHOWN)
        return;
    showMarker->stop(false);
    hideMarker->start(true);
    state = HIDING;
    setButtonsEnabled(false, root);
}

void DialogWindow::onMarkerFinished(AE::Marker* marker)
{
    if (state == SHOWING && marker == showMarker) {
        state = SHOWN;
        setButtonsEnabled(true, root);
        for (DialogWindowListener* listener : std::vector<DialogWindowListener*>(listeners))
            listener->onShown(this);
    } else if (state == HIDING && marker == hideMarker) {
        state = HIDDEN;
        setButtonsEnabled(false, root);
        root->hideForcibly();
        // A listener may leave the list (or be deleted) while the others are told.
        const std::vector<DialogWindowListener*> copy(listeners);
        for (DialogWindowListener* listener : copy) {
            if (std::find(listeners.begin(), listeners.end(), listener) != listeners.end())
                listener->onHidden(this);
        }
    }
}

void DialogWindow::refreshScene()
{
    if (root)
        applyWidgetLayout(root);
}

void DialogWindow::setButtonsEnabled(bool enable, VQ::UIWidget* widget)
{
    if (!widget)
        widget = root;
    if (!widget)
        return;
    if (widget->getType() == VQ::UIWidget::TYPE_BUTTON) {
        if (enable && !widget->enabled) {
            widget->enable();
        } else if (!enable && widget->enabled) {
            widget->disable();
        }
        VQ::UIManager* ui = VQ::UIManager::instancePtr();
        if (!enable && ui && ui->capturedWidget == widget)
            ui->capturedWidget = nullptr;
    }
    for (VQ::UIWidget* child : std::vector<VQ::UIWidget*>(widget->children))
        setButtonsEnabled(enable, child);
}
