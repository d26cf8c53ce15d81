#include "animationeditor/scene_stencil.h"

#include "animationeditor/scene_node.h"
#include "render_system.h"

namespace AE {

void beginStencilDrawing(const ISceneNode& node)
{
    (void)node;
}

void endStencilDrawing()
{
    VQ::RenderSystem::instance()->disableStencil();
}

}  // namespace AE
