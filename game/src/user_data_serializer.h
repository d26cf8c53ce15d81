#pragma once
// A singleton of the social layer that lives from the application's
// construction to its shut-down; it has no operation of its own.

#include "singleton.h"

class UserDataSerializer : public VQ::Singleton<UserDataSerializer> {
public:
    UserDataSerializer() = default;
};
