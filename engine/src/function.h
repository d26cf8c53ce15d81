#pragma once
// Callback objects: bind an object to one of its member functions, or hold a
// plain function, so that the engine can call game code without knowing its
// class (widget signals, background jobs, script commands). Whoever holds an
// `IFunction` pointer owns it and deletes it through the interface.

#include <utility>

namespace VQ {

class IFunction {
public:
    virtual ~IFunction() = default;
    virtual void invoke() = 0;
    virtual void call() { invoke(); }
};

// Calls `method` on `object` when both are set, else `function` when set,
// else nothing.
template <typename T>
class Function : public IFunction {
public:
    using Method = void (T::*)();
    using PlainFunction = void (*)();

    Function() = default;
    Function(T* object, Method method) : object(object), method(method) {}
    explicit Function(PlainFunction function) : function(function) {}

    void invoke() override
    {
        if (object && method)
            (object->*method)();
        else if (function)
            function();
    }

    T* object = nullptr;  // not owned
    Method method = nullptr;
    PlainFunction function = nullptr;
};

// The one-argument form: `invoke` passes a copy of the stored `argument`;
// `invokeWith` passes the caller's by the same rule.
template <typename A, typename T>
class Function1 : public IFunction {
public:
    using Method = void (T::*)(A);
    using PlainFunction = void (*)(A);

    Function1() = default;
    Function1(T* object, Method method, A argument = A()) :
        object(object), method(method), argument(std::move(argument))
    {
    }
    explicit Function1(PlainFunction function, A argument = A()) :
        function(function), argument(std::move(argument))
    {
    }

    void invoke() override { invokeWith(argument); }

    void invokeWith(A value)
    {
        if (object && method)
            (object->*method)(std::move(value));
        else if (function)
            function(std::move(value));
    }

    T* object = nullptr;  // not owned
    Method method = nullptr;
    PlainFunction function = nullptr;
    A argument{};
};

}  // namespace VQ
