#include "animationeditor/scene_stencil.h"

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "render_system.h"

namespace AE {

SpriteSceneNode* findMaskNode(const ISceneNode& node)
{
    for (ISceneNode* n = node.parent; n; n = n->parent) {
        if (n->kind() != SCENE_NODE_SPRITE)
            continue;
        auto* candidate = static_cast<SpriteSceneNode*>(n);
        if (candidate->maskMode == 1)
            return candidate;
    }
    return nullptr;
}

void beginStencilDrawing(const ISceneNode& node)
{
    SpriteSceneNode* mask = findMaskNode(node);
    if (!mask)
        return;
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    if (mask != activeClipNode) {
        render->clearStencil();
        SpriteSceneNode::drawMask(mask);
    }
    render->useStencilMask();
}

void endStencilDrawing()
{
    VQ::RenderSystem::instance()->disableStencil();
}

}  // namespace AE
