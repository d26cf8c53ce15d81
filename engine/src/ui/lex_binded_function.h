#pragma once
// The callback an event connection of a UI script hands to the emitting
// widget: it owns the command bound to the event's arguments and calls it.

#include <memory>
#include <string>
#include <vector>

#include "function.h"
#include "lex_binded_function_manager.h"

namespace VQ {

class LexBindedFunction : public IFunction {
public:
    explicit LexBindedFunction(std::unique_ptr<ILexBinder> bound) : mBound(std::move(bound)) {}
    void invoke() override
    {
        if (mBound)
            mBound->call();
    }

private:
    std::unique_ptr<ILexBinder> mBound;
};

// Splits an event's command: the function name is everything before the
// first ":" (the whole text without one); the arguments are the pieces
// after it between ",", every space taken out, empty pieces skipped.
void splitCommand(const std::string& command, std::string& function, std::vector<std::string>& arguments);

}  // namespace VQ
