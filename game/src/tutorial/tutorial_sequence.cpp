#include "tutorial/tutorial_sequence.h"

#include <utility>

TutorialSequence::TutorialSequence(std::string name) : name(std::move(name)) {}
