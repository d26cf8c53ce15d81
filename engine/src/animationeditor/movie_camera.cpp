#include "animationeditor/movie_camera.h"

namespace AE {

MovieCamera::MovieCamera()
{
    parallaxEnabled = false;
}

VQ::RenderCamera MovieCamera::getView() const
{
    VQ::RenderCamera view;
    view.position = VQ::Vector2f(-posX, -posY);
    view.scale = VQ::Vector2f(scaleX, scaleY);
    view.angle = rotation;
    return view;
}

}  // namespace AE
