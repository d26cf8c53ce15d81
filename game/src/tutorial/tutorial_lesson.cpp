#include "tutorial/tutorial_lesson.h"

void TutorialLesson::setState(int s)
{
    state = s;
    if (s == DONE && owner)
        owner->onLessonFinished();
}
