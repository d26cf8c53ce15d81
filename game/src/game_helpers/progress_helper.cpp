#include "game_helpers/progress_helper.h"

#include <algorithm>

#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "log_system.h"

ProgressHelper::ProgressHelper(const std::string& sceneName)
{
    scene.reset(AE::loadScene(sceneName));
    if (!scene) {
        VQ::log(VQ::formatString("ERROR: Failed to load score scene %s", sceneName.c_str()));
        return;
    }
    thumb = scene->getMarker("thumb");
    scoreText = dynamic_cast<AE::TextSceneNode*>(scene->findNode("#textScore"));
    if (AE::ISceneNode* timeNode = scene->findNode("#timeNode")) {
        const std::vector<uint32_t> frames = timeNode->keyFrameNumbers();
        const float frameTime = timeNode->animation->frameTime;
        float previous = 0.0f;
        for (size_t i = 0; i < 3 && i < frames.size(); ++i) {
            const float time = static_cast<float>(frames[i]) * frameTime;
            segmentTimes[i] = time - previous;
            previous = time;
        }
    }
}

ProgressHelper::~ProgressHelper() = default;

void ProgressHelper::setThresholds(int first, int second, int third)
{
    thresholds[0] = first;
    thresholds[1] = second;
    thresholds[2] = third;
}

void ProgressHelper::setScore(int value)
{
    previousShownScore = shownScore;
    score = value;
    // The first segment whose star is not reached; the last once all are.
    int segment = 0;
    int before = 0;
    while (segment < 2 && before + thresholds[segment] <= value)
        before += thresholds[segment++];
    // Equal thresholds leave a segment without a span: it is full.
    const float fraction = thresholds[segment] == 0
                               ? 1.0f
                               : std::min(static_cast<float>(value - before) / thresholds[segment], 1.0f);
    float timeBefore = 0.0f;
    for (int j = 0; j < segment; ++j)
        timeBefore += segmentTimes[j];
    barTarget = fraction * segmentTimes[segment] + timeBefore;
    barStart = barPosition;
    countTimer = countDuration;
}

void ProgressHelper::update(float dt)
{
    if (countTimer != 0.0f) {
        countTimer = std::max(countTimer - dt, 0.0f);
        const float q = countTimer / countDuration;
        shownScore = score - static_cast<int>((score - previousShownScore) * q);
        if (scoreText)
            scoreText->setText(VQ::formatString("%d", shownScore));
        barPosition = barTarget - (barTarget - barStart) * q;
        if (thumb)
            for (const AE::MarkerEntry& entry : thumb->entries)
                if (entry.node)
                    entry.node->setTime(barPosition, entry.recursive);
    }
    int stars = 0;
    float cumulative = 0.0f;
    for (int j = 0; j < 3; ++j) {
        cumulative += segmentTimes[j];
        if (cumulative <= barPosition)
            ++stars;
    }
    if (stars != starsShown) {
        starsShown = stars;
        if (scene)
            if (AE::Marker* marker = scene->requireMarker(VQ::formatString("#star%d", stars)))
                marker->start(true);
    }
    if (scene)
        AE::ISceneNode::update(scene.get(), dt);
}

void ProgressHelper::drawOverField()
{
    if (scene)
        AE::renderScene(scene.get());
}

void ProgressHelper::reset()
{
    barTarget = 0.0f;
    barStart = 0.0f;
    barPosition = 0.0f;
    countTimer = -1.0f;
    score = 0;
    // The "init" marker takes the stars down with the bar.
    starsShown = 0;
    if (scene)
        if (AE::Marker* init = scene->requireMarker("init"))
            init->start(true);
    update(0.0f);
}
