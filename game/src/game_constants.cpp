#include "game_constants.h"
