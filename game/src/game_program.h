#pragma once
// What the engine's shell needs of the game to run it as a program.

#include "shell.h"

VQ::ProgramHooks gameProgramHooks();
