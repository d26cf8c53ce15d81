#include "ui/ui_manager.h"

#include "lex_binded_function_manager.h"

namespace VQ {

namespace {

constexpr const char* COMMAND_NAMES[] = {"hide", "hideForcibly", "show", "showForcibly"};

}  // namespace

UIManager::UIManager()
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
    if (LexBindedFunctionManager* functions = LexBindedFunctionManager::instancePtr()) {
        for (const char* name : COMMAND_NAMES)
            functions->unregisterFunction(name);
    }
}

void UIManager::update()
{
}

void UIManager::render()
{
}

// No widget tree exists yet, so no name is found.
void UIManager::show(std::string name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    (void)name;
}

void UIManager::hide(std::string name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    (void)name;
}

void UIManager::showForcibly(std::string name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    (void)name;
}

void UIManager::hideForcibly(std::string name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    (void)name;
}

}  // namespace VQ
