// The program's entry: the engine's shell runs the game.

#include "game_program.h"

int main()
{
    return VQ::runProgram(gameProgramHooks());
}
