#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lex_binded_function_manager.h"

namespace {

struct Target {
    std::vector<std::string> calls;
    void exit() { calls.push_back("exit"); }
    void setState(std::string name) { calls.push_back("setState:" + name); }
};

std::vector<std::string> gPlainCalls;
void plainNoArgument()
{
    gPlainCalls.push_back("plain");
}
void plainWithArgument(std::string text)
{
    gPlainCalls.push_back("plain:" + text);
}

// A callback that counts its own destruction.
struct CountedFunction : VQ::Function<Target> {
    CountedFunction(Target* target, int& destroyed) : VQ::Function<Target>(target, &Target::exit), mDestroyed(destroyed) {}
    ~CountedFunction() override { ++mDestroyed; }
    int& mDestroyed;
};

TEST(Function, InvokesMethodThenPlainFunctionThenNothing)
{
    Target target;
    gPlainCalls.clear();

    VQ::Function<Target> method(&target, &Target::exit);
    method.call();
    EXPECT_EQ(target.calls, std::vector<std::string>{"exit"});

    VQ::Function<Target> plain(&plainNoArgument);  // no object: the plain function
    plain.call();
    VQ::Function<Target> objectWithoutMethod(&plainNoArgument);
    objectWithoutMethod.object = &target;
    objectWithoutMethod.call();
    EXPECT_EQ(gPlainCalls, (std::vector<std::string>{"plain", "plain"}));

    VQ::Function<Target> empty;
    empty.call();  // does nothing
    EXPECT_EQ(target.calls.size(), 1u);

    VQ::Function1<std::string, Target> oneArgument(&target, &Target::setState, "Level");
    oneArgument.call();
    VQ::Function1<std::string, Target> plainOneArgument(&plainWithArgument, "x");
    plainOneArgument.call();
    EXPECT_EQ(target.calls.back(), "setState:Level");
    EXPECT_EQ(gPlainCalls.back(), "plain:x");
}

TEST(LexBinder, BindCopiesTheCallbackAndTakesTheFirstArgument)
{
    Target target;
    VQ::LexBinder<Target> noArgument(&target, &Target::exit);
    noArgument.bind({"ignored"})->call();

    VQ::LexBinder1<std::string, Target> oneArgument(
        std::make_unique<VQ::Function1<std::string, Target>>(&target, &Target::setState, "stored"));
    oneArgument.bind({"MainMenu", "second"})->call();
    oneArgument.bind({})->call();  // no arguments: an empty text, not the stored one
    EXPECT_EQ(target.calls, (std::vector<std::string>{"exit", "setState:MainMenu", "setState:"}));
}

TEST(LexBinder, ACallbackOfAnotherKindDoesNothing)
{
    Target target;
    VQ::LexBinder1<std::string, Target> mismatched(std::make_unique<VQ::Function<Target>>(&target, &Target::exit));
    mismatched.call();
    mismatched.bind({"x"})->call();
    VQ::LexBinder<Target> mismatchedNoArgument(
        std::make_unique<VQ::Function1<std::string, Target>>(&target, &Target::setState));
    mismatchedNoArgument.call();
    mismatchedNoArgument.bind({})->call();
    EXPECT_TRUE(target.calls.empty());
}

TEST(LexBindedFunctionManager, FirstRegistrationWinsAndRemovalDeletesTheBinder)
{
    Target first, second;
    int firstDestroyed = 0, secondDestroyed = 0;
    {
        VQ::LexBindedFunctionManager manager;
        EXPECT_EQ(VQ::LexBindedFunctionManager::instance(), &manager);
        manager.registerFunction("setState",
                                 std::make_unique<VQ::LexBinder<Target>>(
                                     std::make_unique<CountedFunction>(&first, firstDestroyed)));
        manager.registerFunction("setState",
                                 std::make_unique<VQ::LexBinder<Target>>(
                                     std::make_unique<CountedFunction>(&second, secondDestroyed)));
        EXPECT_EQ(secondDestroyed, 1);  // the second binder and its callback are gone at once

        VQ::ILexBinder* found = manager.find("setState");
        ASSERT_NE(found, nullptr);
        found->bind({})->call();
        EXPECT_EQ(first.calls.size(), 1u);
        EXPECT_TRUE(second.calls.empty());
        EXPECT_EQ(manager.find("setstate"), nullptr);  // names compare bytewise

        EXPECT_TRUE(manager.unregisterFunction("setState"));
        EXPECT_EQ(firstDestroyed, 1);
        EXPECT_EQ(manager.find("setState"), nullptr);
        EXPECT_FALSE(manager.unregisterFunction("setState"));

        manager.registerFunction("exit", std::make_unique<VQ::LexBinder<Target>>(
                                             std::make_unique<CountedFunction>(&first, firstDestroyed)));
    }
    EXPECT_EQ(firstDestroyed, 2);  // the manager deletes what is left
    EXPECT_FALSE(VQ::LexBindedFunctionManager::exists());
}

}  // namespace
