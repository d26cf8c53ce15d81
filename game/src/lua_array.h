#pragma once
// Walks the elements of the table on top of a script's stack in order: for
// each, the value lies on top while `visit` runs, and is popped after it.
// `visit` must leave the stack as it found it.

#include <functional>

namespace VQ {
class LuaScript2;
}

void forEachElement(VQ::LuaScript2& script, const std::function<void()>& visit);
