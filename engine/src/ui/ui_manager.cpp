#include "ui/ui_manager.h"

#include <algorithm>

#include "lex_binded_function_manager.h"
#include "timer_manager.h"
#include "ui/ui_controller.h"

namespace VQ {

namespace {

constexpr const char* COMMAND_NAMES[] = {"hide", "hideForcibly", "show", "showForcibly"};
constexpr float MAX_FRAME_STEP = 0.1f;

template <typename T>
void eraseValue(std::vector<T>& list, const T& value)
{
    list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

}  // namespace

UIManager::UIManager() : mController(std::make_unique<UIPCController>())
{
    using Binder = LexBinder1<std::string, UIManager>;
    LexBindedFunctionManager* functions = LexBindedFunctionManager::instance();
    functions->registerFunction("hide", std::make_unique<Binder>(this, &UIManager::hide));
    functions->registerFunction("hideForcibly", std::make_unique<Binder>(this, &UIManager::hideForcibly));
    functions->registerFunction("show", std::make_unique<Binder>(this, &UIManager::show));
    functions->registerFunction("showForcibly", std::make_unique<Binder>(this, &UIManager::showForcibly));
}

UIManager::~UIManager()
{
    {
        std::lock_guard<std::recursive_mutex> lock(mMutex);
        // Each root leaves the list before it goes, so that nothing its
        // destructor reaches finds it half deleted.
        while (!mRoots.empty()) {
            UIWidget* root = mRoots.back();
            mRoots.pop_back();
            delete root;
        }
        for (UIWidget* widget : mDeferredDeletes)
            delete widget;
        mDeferredDeletes.clear();
        mShownStack.clear();
        mPendingSignals.clear();
        capturedWidget = nullptr;
        mController.reset();
        mComponentFactories.clear();
    }
    if (LexBindedFunctionManager* functions = LexBindedFunctionManager::instancePtr()) {
        for (const char* name : COMMAND_NAMES)
            functions->unregisterFunction(name);
    }
}

void UIManager::addRoot(UIWidget* widget)
{
    if (!widget)
        return;
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mRoots.push_back(widget);
    if (widget->shown)
        showRoot(widget);
}

void UIManager::discard(UIWidget* widget)
{
    for (UIManagerListener* listener : std::vector<UIManagerListener*>(mListeners))
        listener->onWidgetRemoved(widget);
    capturedWidget = nullptr;
    eraseValue(mRoots, widget);
    // Every entry of the tree leaves the shown stack now, even when the
    // deletion has to wait: nothing may draw or reach the tree meanwhile.
    for (UIWidget*& entry : mShownStack)
        if (entry == widget || widget->isDescendant(entry))
            entry = nullptr;
    eraseValue(mShownStack, static_cast<UIWidget*>(nullptr));
    if (mPassDepth > 0)
        mDeferredDeletes.push_back(widget);
    else
        delete widget;
}

int32_t UIManager::removeRoot(UIWidget* widget)
{
    if (!widget)
        return 1;
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    // Removed already in this pass (two callbacks closing one window).
    if (std::find(mDeferredDeletes.begin(), mDeferredDeletes.end(), widget) != mDeferredDeletes.end())
        return 1;
    // A tree still hanging from a parent would be deleted a second time by
    // that parent.
    if (widget->parent) {
        // What the tree above points into the subtree goes with it.
        for (UIWidget* above = widget->parent; above; above = above->parent)
            above->forgetSubtree(widget);
        widget->parent->detachChild(widget);
    }
    const bool wasRoot = std::find(mRoots.begin(), mRoots.end(), widget) != mRoots.end();
    discard(widget);
    return wasRoot ? 0 : 1;
}

void UIManager::showRoot(UIWidget* widget)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!widget || widget->deleteMark)
        return;
    eraseValue(mShownStack, widget);
    mShownStack.push_back(widget);
    if (mController)
        mController->onTopmostChanged(widget);
    for (UIManagerListener* listener : std::vector<UIManagerListener*>(mListeners))
        listener->onWidgetShown(widget);
}

void UIManager::onWidgetHidden(UIWidget* widget)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (mController)
        mController->onTopmostChanged(topmostVisibleRoot());
    for (UIManagerListener* listener : std::vector<UIManagerListener*>(mListeners))
        listener->onWidgetHidden(widget);
}

void UIManager::forgetWidget(const UIWidget* widget)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    eraseValue(mShownStack, const_cast<UIWidget*>(widget));
    if (capturedWidget == widget)
        capturedWidget = nullptr;
}

UIWidget* UIManager::topmostVisibleRoot()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (auto it = mShownStack.rbegin(); it != mShownStack.rend(); ++it)
        if ((*it)->shown)
            return *it;
    return nullptr;
}

bool UIManager::isReachable(const UIWidget* widget)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (auto it = mShownStack.rbegin(); it != mShownStack.rend(); ++it) {
        const UIWidget* entry = *it;
        if (!entry->shown)
            continue;
        if (entry == widget || entry->isDescendant(widget))
            return true;
        if (entry->modal)
            return false;
    }
    return false;
}

void UIManager::hideAllForcibly()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (size_t i = 0; i < mRoots.size(); ++i)
        mRoots[i]->hideForcibly();
}

void UIManager::beginPass()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    ++mPassDepth;
}

void UIManager::endPass()
{
    std::vector<UIWidget*> doomed;
    {
        std::lock_guard<std::recursive_mutex> lock(mMutex);
        if (--mPassDepth > 0)
            return;
        doomed.swap(mDeferredDeletes);
    }
    for (UIWidget* widget : doomed)
        delete widget;
}

void UIManager::update()
{
    const TimerManager* timer = TimerManager::instancePtr();
    update(timer ? timer->frameTime() : 0.0f);
}

void UIManager::update(float frameStep)
{
    Pass pass(*this);
    if (mController)
        mController->poll();
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    const float dt = std::min(frameStep, MAX_FRAME_STEP);
    const std::vector<UIWidget*> roots = mRoots;
    for (UIWidget* root : roots)
        // A root removed by an earlier root's update is no longer walked.
        if (std::find(mRoots.begin(), mRoots.end(), root) != mRoots.end())
            root->updateTree(dt);
    for (size_t i = 0; i < mRoots.size();) {
        if (mRoots[i]->deleteMark)
            discard(mRoots[i]);
        else
            ++i;
    }
}

void UIManager::render()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (size_t i = 0; i < mShownStack.size(); ++i)
        mShownStack[i]->render();
    for (UIWidget* root : mRoots)
        root->clearDrawn();
}

void UIManager::queueSignal(UICallbackList& list)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mPendingSignals.push_back(&list);
}

void UIManager::forgetSignal(const UICallbackList& list)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mPendingSignals.erase(std::remove(mPendingSignals.begin(), mPendingSignals.end(), &list),
                          mPendingSignals.end());
}

void UIManager::runPendingSignals()
{
    Pass pass(*this);
    for (;;) {
        UICallbackList* list = nullptr;
        {
            std::lock_guard<std::recursive_mutex> lock(mMutex);
            if (mPendingSignals.empty())
                return;
            list = mPendingSignals.front();
            mPendingSignals.pop_front();
        }
        // By index: a callback may connect more to the list it runs in.
        for (size_t i = 0; i < list->size(); ++i)
            if (IFunction* function = (*list)[i].get())
                function->call();
    }
}

void UIManager::addListener(UIManagerListener* listener)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (listener && std::find(mListeners.begin(), mListeners.end(), listener) == mListeners.end())
        mListeners.push_back(listener);
}

void UIManager::removeListener(UIManagerListener* listener)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    eraseValue(mListeners, listener);
}

void UIManager::registerComponentFactory(const std::string& className, std::unique_ptr<UIComponentFactory> factory)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (factory)
        mComponentFactories[className] = std::move(factory);
}

UIComponentFactory* UIManager::findComponentFactory(const std::string& className)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    const auto it = mComponentFactories.find(className);
    return it == mComponentFactories.end() ? nullptr : it->second.get();
}

UIWidget* UIManager::findByName(const std::string& name)
{
    for (UIWidget* root : mRoots)
        if (UIWidget* found = root->findChild(name))
            return found;
    return nullptr;
}

void UIManager::show(std::string name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (UIWidget* widget = findByName(name))
        widget->show();
}

void UIManager::hide(std::string name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (UIWidget* widget = findByName(name))
        widget->hide();
}

void UIManager::showForcibly(std::string name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (UIWidget* widget = findByName(name))
        widget->showForcibly();
}

void UIManager::hideForcibly(std::string name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (UIWidget* widget = findByName(name))
        widget->hideForcibly();
}

}  // namespace VQ
