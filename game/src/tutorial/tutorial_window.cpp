#include "tutorial/tutorial_window.h"

#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "color.h"
#include "fatal_error.h"
#include "function.h"
#include "game_state_manager.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_description.h"
#include "sprite_manager.h"
#include "tutorial/tutorial_lesson.h"
#include "ui/ui_manager.h"
#include "ui/ui_scene_node.h"
#include "vertex_layout.h"

namespace {

VQ::Vector2f sceneSize()
{
    const GameStateManager* states = GameStateManager::instancePtr();
    return states ? states->getSceneSize() : VQ::Vector2f(1726.0f, 970.0f);
}

bool portrait()
{
    const GameStateManager* states = GameStateManager::instancePtr();
    return states && states->isPortrait();
}

}  // namespace

// --- Blackouts ---

SolidBlackout::SolidBlackout()
{
    sprite = VQ::SpriteManager<VQ::Sprite>::instance()->createSpriteFromTexture(nullptr);
    setOrigin(VQ::Vector2f(0.0f, 0.0f));
}

SolidBlackout::~SolidBlackout()
{
    if (auto* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr())
        sprites->releaseSprite(sprite);
}

void SolidBlackout::setOrigin(const VQ::Vector2f& point)
{
    (void)point;
    if (sprite)
        sprite->setSize(sceneSize());
}

void SolidBlackout::render()
{
    if (!sprite)
        return;
    const VQ::Color shade(0.0f, 0.0f, 0.0f, alpha);
    for (uint32_t i = 0; i < sprite->vertexCount(); ++i)
        sprite->setVertexColor(i, shade);
    sprite->markDirty();
    sprite->updateVertices();
    sprite->draw();
}

MaskBlackout::MaskBlackout(const std::string& maskFile, const std::string& maskTable)
{
    sprite = VQ::SpriteManager<VQ::Sprite>::instance()->createSpriteFromScript(maskFile, maskTable, "default");
    renderData = std::make_unique<VQ::RenderData>();
    VQ::allocateSpriteVertices(*renderData, VERTEX_COUNT);
    if (const VQ::RenderData* quad = sprite->quadRenderData())
        renderData->addTextureReferences(*quad);
    // The middle quad shows the whole mask; the outer ones repeat its
    // border texels, so the mask's dark border covers the rest of the screen.
    const VQ::Vector2f scale = sprite->texelScale();
    const VQ::Vector2f topLeft = *sprite->gridTexCoord(0, 0);
    const VQ::Vector2f bottomRight = *sprite->gridTexCoord(sprite->cols(), sprite->rows());
    const float us[4] = {topLeft.x, topLeft.x, bottomRight.x, bottomRight.x};
    const float vs[4] = {topLeft.y, topLeft.y, bottomRight.y, bottomRight.y};
    VQ::VertexAccess access(*renderData);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const int first = (row * 3 + col) * 4;
            const int corner[4][2] = {{col, row}, {col + 1, row}, {col + 1, row + 1}, {col, row + 1}};
            for (int k = 0; k < 4; ++k) {
                float* uv = access.texCoord(uint32_t(first + k));
                uv[0] = us[corner[k][0]] * scale.x;
                uv[1] = vs[corner[k][1]] * scale.y;
                access.position(uint32_t(first + k))[2] = 1.0f;
            }
        }
    }
}

MaskBlackout::~MaskBlackout()
{
    if (auto* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr())
        sprites->releaseSprite(sprite);
}

void MaskBlackout::setOrigin(const VQ::Vector2f& point)
{
    origin = point;
    const VQ::Vector2f& offset = offsets[portrait() ? 1 : 0];
    const float x0 = origin.x + offset.x - maskPadding.x;
    const float y0 = origin.y + offset.y - maskPadding.y;
    const VQ::Vector2f size = sprite ? sprite->size() : VQ::Vector2f(0.0f, 0.0f);
    const VQ::Vector2f screen = sceneSize();
    const float xs[4] = {0.0f, x0, x0 + size.x, screen.x};
    const float ys[4] = {0.0f, y0, y0 + size.y, screen.y};
    const VQ::Color tint(1.0f, 1.0f, 1.0f, alpha);
    VQ::VertexAccess access(*renderData);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const int first = (row * 3 + col) * 4;
            const int corner[4][2] = {{col, row}, {col + 1, row}, {col + 1, row + 1}, {col, row + 1}};
            for (int k = 0; k < 4; ++k) {
                float* at = access.position(uint32_t(first + k));
                at[0] = xs[corner[k][0]];
                at[1] = ys[corner[k][1]];
                *access.color(uint32_t(first + k)) = tint;
            }
        }
    }
}

void MaskBlackout::render()
{
    // Its own draw call: the grid's vertices do not join a sprite batch.
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    render->flushBatch();
    render->drawRenderData(renderData.get());
    render->flushBatch();
}

// --- The window ---

TutorialWindow::BlackoutRenderer::~BlackoutRenderer()
{
    delete blackout;
}

void TutorialWindow::BlackoutRenderer::beginRender()
{
    if (blackout && visible)
        blackout->render();
}

void TutorialWindow::BlackoutRenderer::update(float dt)
{
    if (blackout)
        blackout->update(dt);
}

TutorialWindow::TutorialWindow(bool hasArrow, bool hasButton, TutorialWindowListener* listener) :
    hasArrow(hasArrow), hasButton(hasButton), listener(listener)
{
    root = VQ::UIManager::instance()->loadUI("tutorial_window_ui", "TutorialWindow", nullptr, "default");
    root->modal = true;
    blackoutRenderer = new BlackoutRenderer();
    blackoutRenderer->parent = root;
    root->insertChild(blackoutRenderer, 0);
    if (VQ::UIWidget* button = root->findChild("btnClose"))
        button->connect("clicked",
                        std::make_unique<VQ::Function<TutorialWindow>>(this, &TutorialWindow::onCloseClicked));
    auto* host = dynamic_cast<VQ::UISceneNode*>(root->findChild("gui"));
    scene = host ? host->node : nullptr;
    if (!scene)
        VQ::assertFailed("VQ", "tutorial_window_ui hosts no scene in 'gui'", "tutorial_window", __LINE__);
    scene->playing = false;
    scene->stop(true);
    showMarker = scene->requireMarker("show");
    hideMarker = scene->requireMarker("hide");
    if (showMarker)
        showMarker->addListener(this);
    if (hideMarker)
        hideMarker->addListener(this);
    root->hideForcibly();
    if (!hasArrow)
        startMarker("center");
    setAura(true);
}

TutorialWindow::~TutorialWindow()
{
    // The scene outlives the window until the UI manager's next update.
    if (showMarker)
        showMarker->removeListener(this);
    if (hideMarker)
        hideMarker->removeListener(this);
    // The tree outlives the window until the UI manager's next update: its
    // button must not call back meanwhile. At shut-down the manager may
    // have taken the tree already.
    if (!root || !VQ::UIManager::instancePtr())
        return;
    if (VQ::UIWidget* button = root->findChild("btnClose"))
        button->disable();
    root->deleteMark = true;
}

void TutorialWindow::startMarker(const std::string& name)
{
    if (AE::Marker* marker = scene ? scene->getMarker(name) : nullptr)
        marker->start(true);
}

void TutorialWindow::setArrowMarkers(const std::string& landscape, const std::string& portraitName)
{
    arrowMarkers[0] = landscape;
    arrowMarkers[1] = portraitName;
}

void TutorialWindow::setText(const std::string& key)
{
    auto* text = dynamic_cast<AE::TextSceneNode*>(scene ? scene->findNode("#text") : nullptr);
    if (!text)
        return;
    text->localized = true;
    text->setText(key);
    text->updateText();
}

void TutorialWindow::setBlackout(Blackout* blackout)
{
    if (blackoutRenderer->blackout != blackout)
        delete blackoutRenderer->blackout;
    blackoutRenderer->blackout = blackout;
}

void TutorialWindow::setAura(bool on)
{
    if (AE::ISceneNode* aura = scene ? scene->findNode("#aura") : nullptr)
        aura->setEnabled(on);
}

void TutorialWindow::open(const VQ::Vector2f& point)
{
    startMarker("init");
    startMarker(hasArrow ? "show_arrow" : "hide_arrow");
    startMarker(hasButton ? "show_button" : "hide_button");
    if (VQ::UIWidget* button = root->findChild("btnClose"); button && button->enabled != hasButton) {
        if (hasButton)
            button->enable();
        else
            button->disable();
    }
    root->showForcibly();
    onScreen = true;
    blackoutRenderer->setVisible(true);
    if (showMarker)
        showMarker->start(true);
    placeArrow(point);
}

void TutorialWindow::placeArrow(const VQ::Vector2f& point)
{
    if (blackoutRenderer->blackout)
        blackoutRenderer->blackout->setOrigin(point);
    arrowPoint = point;
    if (hasArrow) {
        startMarker(arrowMarkers[portrait() ? 1 : 0]);
        root->position = point;
    } else {
        const VQ::Vector2f size = sceneSize();
        root->position = VQ::Vector2f(size.x / 2.0f, size.y / 2.0f);
    }
}

bool TutorialWindow::isShown() const
{
    return onScreen;
}

void TutorialWindow::onCloseClicked()
{
    const auto playing = [](const AE::Marker* m) { return m && m->getState() == AE::Marker::PLAYING; };
    if (!playing(showMarker) && !playing(hideMarker) && hideMarker)
        hideMarker->start(true);
}

void TutorialWindow::close()
{
    if (hideMarker && hideMarker->getState() != AE::Marker::PLAYING)
        hideMarker->start(true);
}

void TutorialWindow::onMarkerFinished(AE::Marker* marker)
{
    if (marker == showMarker) {
        if (listener)
            listener->onWindowShown();
        return;
    }
    blackoutRenderer->setVisible(false);
    root->hideForcibly();
    onScreen = false;
    // The listener deletes the window here.
    if (listener)
        listener->onWindowClosed();
}
