#pragma once
// Script-named commands: a binder wraps a callback so that the UI scripts can
// call game operations by name, optionally with one text argument. The UI
// looks a command up, binds it to the command's arguments and calls the
// result.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "function.h"
#include "singleton.h"

namespace VQ {

class ILexBinder {
public:
    explicit ILexBinder(std::unique_ptr<IFunction> function) : mFunction(std::move(function)) {}
    // Deletes the callback.
    virtual ~ILexBinder() = default;
    ILexBinder(const ILexBinder&) = delete;
    ILexBinder& operator=(const ILexBinder&) = delete;

    virtual void call() = 0;
    // A new binder, owned by the caller, ready to call with these arguments.
    virtual std::unique_ptr<ILexBinder> bind(const std::vector<std::string>& arguments) = 0;

protected:
    std::unique_ptr<IFunction> mFunction;
};

// A command without argument over a `Function<T>`; the arguments are ignored.
// A callback of another kind does nothing.
template <typename T>
class LexBinder : public ILexBinder {
public:
    explicit LexBinder(std::unique_ptr<IFunction> function) : ILexBinder(std::move(function)) {}
    LexBinder(T* object, typename Function<T>::Method method) :
        ILexBinder(std::make_unique<Function<T>>(object, method))
    {
    }

    void call() override
    {
        if (auto* typed = dynamic_cast<Function<T>*>(mFunction.get()))
            typed->invoke();
    }

    std::unique_ptr<ILexBinder> bind(const std::vector<std::string>&) override
    {
        auto copy = std::make_unique<Function<T>>();
        if (auto* typed = dynamic_cast<Function<T>*>(mFunction.get()))
            *copy = *typed;
        return std::make_unique<LexBinder<T>>(std::move(copy));
    }
};

// A command with one argument over a `Function1<A, T>`: `call` passes the
// binder's own `argument`, which `bind` takes from the first element of the
// argument list (empty when there is none). A callback of another kind does
// nothing.
template <typename A, typename T>
class LexBinder1 : public ILexBinder {
public:
    explicit LexBinder1(std::unique_ptr<IFunction> function, A argument = A()) :
        ILexBinder(std::move(function)), argument(std::move(argument))
    {
    }
    LexBinder1(T* object, typename Function1<A, T>::Method method) :
        ILexBinder(std::make_unique<Function1<A, T>>(object, method))
    {
    }

    void call() override
    {
        if (auto* typed = dynamic_cast<Function1<A, T>*>(mFunction.get()))
            typed->invokeWith(argument);
    }

    std::unique_ptr<ILexBinder> bind(const std::vector<std::string>& arguments) override
    {
        auto copy = std::make_unique<Function1<A, T>>();
        if (auto* typed = dynamic_cast<Function1<A, T>*>(mFunction.get())) {
            copy->object = typed->object;
            copy->method = typed->method;
            copy->function = typed->function;
        }
        return std::make_unique<LexBinder1<A, T>>(std::move(copy), arguments.empty() ? A() : A(arguments.front()));
    }

    A argument{};
};

class LexBindedFunctionManager : public Singleton<LexBindedFunctionManager> {
public:
    LexBindedFunctionManager() = default;
    // Deletes every registered binder (and with it its callback).
    ~LexBindedFunctionManager() override;

    // Takes the binder. A name registered already keeps its first binder and
    // the new one is deleted at once.
    void registerFunction(const std::string& name, std::unique_ptr<ILexBinder> binder);
    // Deletes the binder registered under the name; its owner calls this
    // before it goes, so that no command reaches a deleted object. False when
    // the name was not registered.
    bool unregisterFunction(const std::string& name);
    // The binder, or null.
    ILexBinder* find(const std::string& name) const;

private:
    std::map<std::string, std::unique_ptr<ILexBinder>> mFunctions;
};

}  // namespace VQ
