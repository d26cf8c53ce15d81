#include "drawables_group.h"

#include <algorithm>

#include "board_renderer.h"

DrawablesGroup::DrawablesGroup(const DrawablesGroup& other) : OwningObjectsGroup<Drawable>(other)
{
    collectUpdating();
}

DrawablesGroup& DrawablesGroup::operator=(const DrawablesGroup& other)
{
    if (this != &other) {
        OwningObjectsGroup<Drawable>::operator=(other);
        collectUpdating();
    }
    return *this;
}

void DrawablesGroup::collectUpdating()
{
    updating.clear();
    for (Drawable* drawable : objects)
        if (drawable->needsUpdate())
            updating.push_back(drawable);
}

void DrawablesGroup::add(Drawable* drawable)
{
    OwningObjectsGroup<Drawable>::add(drawable);
    if (drawable->needsUpdate())
        updating.push_back(drawable);
}

void DrawablesGroup::remove(Drawable* drawable)
{
    OwningObjectsGroup<Drawable>::remove(drawable);
    auto it = std::find(updating.begin(), updating.end(), drawable);
    if (it != updating.end())
        updating.erase(it);
}

void DrawablesGroup::deleteAll()
{
    updating.clear();
    OwningObjectsGroup<Drawable>::deleteAll();
}

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
    for (Drawable* drawable : updating)
        drawable->update(dt);
}

void DrawablesGroup::draw(BoardRenderer& renderer, Chip*, int x, int y)
{
    for (Drawable* drawable : objects) {
        drawable->clipEnabled = false;
        renderer.queueDrawable(drawable, static_cast<float>(x), static_cast<float>(y));
    }
}
