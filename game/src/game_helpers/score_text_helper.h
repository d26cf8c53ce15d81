#pragma once
// The points of each frame as one floating "+N" over the board, at the last
// scored cell; the text's animation is chosen by the size of the score from
// the "limit:N" markers of its scene.

#include <memory>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "game_field_effect.h"
#include "game_helpers/game_helper.h"

namespace AE {
class ISceneNode;
class TextSceneNode;
}  // namespace AE

// One floating text: a copy of the score text scene, finished when its
// marker ends.
class TextScoreEffect : public GameFieldEffect, public AE::MarkerListener {
public:
    static constexpr int LAYER = 2000;

    // Takes the scene; starts its marker `markerName`, or finishes at once
    // when the name is empty or the scene lacks it.
    TextScoreEffect(AE::ISceneNode* scene, const std::string& markerName);
    ~TextScoreEffect() override;

    void update(float dt) override;
    void draw() override;
    void onMarkerFinished(AE::Marker* marker) override;

    std::unique_ptr<AE::ISceneNode> scene;
    AE::Marker* marker = nullptr;
};

class ScoreTextHelper : public GameHelper {
public:
    struct ScoreMarker {
        int limit;
        std::string name;
    };

    // Loads "score_text_scene_xml".
    ScoreTextHelper();
    ~ScoreTextHelper() override;

    // Spawns the floating text of the points pending.
    void update(float dt) override;

    // The cell of the last scored chip.
    void setPosition(int cellColumn, int cellRow)
    {
        column = cellColumn;
        row = cellRow;
    }
    void addScore(int points) { pendingScore += points; }
    // The marker a score of `points` plays: the last whose limit is at or
    // below it, else the smallest; empty without any.
    std::string markerFor(int points) const;

    std::unique_ptr<AE::ISceneNode> scene;
    std::vector<AE::TextSceneNode*> texts;
    // Ascending by limit.
    std::vector<ScoreMarker> scoreMarkers;
    int pendingScore = 0;
    int column = 0;
    int row = 0;
};

// The limit of a "limit:N" marker name: the run of digits and minus signs
// from its seventh character, 0 when the run is empty.
int scoreMarkerLimit(const std::string& name);
