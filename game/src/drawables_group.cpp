#include "drawables_group.h"

#include "board_renderer.h"


void DrawablesGroup::setVisible(bool flag)
{
    for (Drawable* drawable : objects)
        drawable->setVisible(flag);
}

void DrawablesGroup::setAlpha(float value)
{
    for (Drawable* drawable : objects)
        drawable->setAlpha(value);
}

void DrawablesGroup::setRestartOnShow(bool flag)
{
    for (Drawable* drawable : objects)
        drawable->setRestartOnShow(flag);
}

void DrawablesGroup::update(float dt)
{
    for (Drawable* drawable : objects)
        drawable->update(dt);
}

void DrawablesGroup::draw(BoardRenderer& renderer, Chip*, int x, int y)
{
    for (Drawable* drawable : objects) {
        drawable->clipEnabled = false;
        renderer.queueDrawable(drawable, static_cast<float>(x), static_cast<float>(y));
    }
}
