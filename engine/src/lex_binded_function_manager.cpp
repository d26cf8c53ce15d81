#include "lex_binded_function_manager.h"

namespace VQ {

LexBindedFunctionManager::~LexBindedFunctionManager()
{
    mFunctions.clear();
}

void LexBindedFunctionManager::registerFunction(const std::string& name, std::unique_ptr<ILexBinder> binder)
{
    mFunctions.try_emplace(name, std::move(binder));
}

bool LexBindedFunctionManager::unregisterFunction(const std::string& name)
{
    return mFunctions.erase(name) != 0;
}

ILexBinder* LexBindedFunctionManager::find(const std::string& name) const
{
    const auto it = mFunctions.find(name);
    return it == mFunctions.end() ? nullptr : it->second.get();
}

}  // namespace VQ
