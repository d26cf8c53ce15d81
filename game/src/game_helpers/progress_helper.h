#pragma once
// The score bar of a level: a scene whose "thumb" marker is the bar, filled
// segment by segment towards the three star thresholds, with a counting
// score text and a "#star%d" marker for every star reached.

#include <memory>
#include <string>

#include "game_helpers/game_helper.h"

namespace AE {
class ISceneNode;
class Marker;
class TextSceneNode;
}  // namespace AE

class ProgressHelper : public GameHelper {
public:
    static constexpr float COUNT_DURATION = 0.9f;

    explicit ProgressHelper(const std::string& sceneName);
    ~ProgressHelper() override;

    void update(float dt) override;
    void drawOverField() override;
    void reset() override;

    void setScore(int value);
    // The first star's score, then the spans to the second and the third.
    void setThresholds(int first, int second, int third);

    int score = 0;
    int shownScore = 0;
    int previousShownScore = 0;
    float countDuration = COUNT_DURATION;
    float countTimer = 0.0f;
    // In seconds of the "thumb" animation.
    float barTarget = 0.0f;
    float barStart = 0.0f;
    float barPosition = 0.0f;
    std::unique_ptr<AE::ISceneNode> scene;
    AE::Marker* thumb = nullptr;
    AE::TextSceneNode* scoreText = nullptr;
    int thresholds[3] = {0, 0, 0};
    // From the key frames of "#timeNode": the first star's time, then the
    // spans to the second and the third.
    float segmentTimes[3] = {0.0f, 0.0f, 0.0f};
    int starsShown = 0;
};
