#include "game_helpers/score_text_helper.h"

#include <algorithm>
#include <cstdlib>

#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "board_renderer.h"
#include "game_field.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "log_system.h"

int scoreMarkerLimit(const std::string& name)
{
    std::string run;
    for (size_t i = 6; i < name.size() && ((name[i] >= '0' && name[i] <= '9') || name[i] == '-'); ++i)
        run += name[i];
    return run.empty() ? 0 : static_cast<int>(std::strtol(run.c_str(), nullptr, 10));
}

// --- TextScoreEffect ---

TextScoreEffect::TextScoreEffect(AE::ISceneNode* copy, const std::string& markerName) : scene(copy)
{
    layer = LAYER;
    marker = markerName.empty() ? nullptr : scene->getMarker(markerName);
    if (!marker) {
        // Nothing to play: such a text would stay for the whole level.
        finished = true;
        return;
    }
    marker->addListener(this);
    marker->start(true);
}

TextScoreEffect::~TextScoreEffect()
{
    if (marker)
        marker->removeListener(this);
}

void TextScoreEffect::update(float dt)
{
    AE::ISceneNode::update(scene.get(), dt);
}

void TextScoreEffect::draw()
{
    AE::renderScene(scene.get());
}

void TextScoreEffect::onMarkerFinished(AE::Marker* ended)
{
    if (ended == marker)
        finished = true;
}

// --- ScoreTextHelper ---

ScoreTextHelper::ScoreTextHelper()
{
    scene.reset(AE::loadScene("score_text_scene_xml"));
    if (!scene) {
        VQ::log("ERROR: Failed to load score text scene score_text_scene_xml");
        return;
    }
    for (int i = 0;; ++i) {
        auto* text = dynamic_cast<AE::TextSceneNode*>(scene->findNode(VQ::formatString("#text[%d]", i)));
        if (!text)
            break;
        texts.push_back(text);
    }
    for (const auto& marker : scene->markers)
        if (marker->name.find("limit:") != std::string::npos)
            scoreMarkers.push_back({scoreMarkerLimit(marker->name), marker->name});
    std::stable_sort(scoreMarkers.begin(), scoreMarkers.end(),
                     [](const ScoreMarker& a, const ScoreMarker& b) { return a.limit < b.limit; });
}

ScoreTextHelper::~ScoreTextHelper() = default;

std::string ScoreTextHelper::markerFor(int points) const
{
    if (scoreMarkers.empty())
        return std::string();
    std::string chosen = scoreMarkers.front().name;
    for (const ScoreMarker& marker : scoreMarkers)
        if (marker.limit <= points)
            chosen = marker.name;
    return chosen;
}

void ScoreTextHelper::update(float)
{
    if (pendingScore == 0 || !scene)
        return;
    const std::string text = VQ::formatString("+%d", pendingScore);
    for (AE::TextSceneNode* node : texts)
        node->setText(text);
    GameField* field = currentGameField();
    const float cell = field ? static_cast<float>(field->cellSize) : 0.0f;
    AE::ISceneNode* copy = scene->clone(nullptr);
    copy->setPosition(cell * (column + 0.5f), cell * (row + 0.5f));
    auto* effect = new TextScoreEffect(copy, markerFor(pendingScore));
    if (field && field->renderer)
        field->renderer->effectList().add(effect);
    else
        delete effect;
    pendingScore = 0;
}
