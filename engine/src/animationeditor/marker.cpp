#include "animationeditor/marker.h"

#include <algorithm>
#include <cmath>

#include "animationeditor/scene_node.h"

namespace AE {

namespace {

float frameTimeOf(const MarkerEntry& entry)
{
    return entry.node->animation->frameTime;
}

float spanOf(const MarkerEntry& entry)
{
    return frameTimeOf(entry) * std::fabs(float(entry.to) - float(entry.from));
}

bool bothFramesGiven(const MarkerEntry& entry)
{
    return entry.from != -1 && entry.to != -1;
}

bool isUnder(const ISceneNode* node, const ISceneNode* ancestor)
{
    for (const ISceneNode* n = node; n; n = n->parent)
        if (n == ancestor)
            return true;
    return false;
}

// Seeking an entry's node evaluates its subtree, which updates the markers
// of that node; when the marker plays its own node, that nested update would
// act on entries half rewound. The marker's `updating` flag turns it away.
class UpdatingScope {
public:
    explicit UpdatingScope(bool& flag) : mFlag(flag), mWas(flag) { mFlag = true; }
    ~UpdatingScope() { mFlag = mWas; }

private:
    bool& mFlag;
    bool mWas;
};

}  // namespace

Marker::~Marker()
{
    for (const MarkerEntry& entry : entries)
        if (entry.node)
            entry.node->setPlaying(false, entry.recursive);
}

void Marker::addEntry(ISceneNode* node, int32_t from, int32_t to, bool recursive, bool looped)
{
    if (!node)
        return;
    for (const MarkerEntry& entry : entries)
        if (entry.node == node)
            return;
    MarkerEntry entry;
    entry.node = node;
    entry.from = from;
    entry.to = to;
    entry.recursive = recursive;
    entry.looped = looped;
    entries.push_back(entry);
}

void Marker::removeNode(ISceneNode* node)
{
    std::erase_if(entries, [node](const MarkerEntry& entry) { return isUnder(entry.node, node); });
}

void Marker::start(bool force)
{
    UpdatingScope scope(updating);
    if (force || state == STOPPED) {
        elapsed = 0.0f;
        for (size_t i = 0; i < entries.size(); ++i) {
            MarkerEntry& entry = entries[i];
            entry.endTime = 0.0f;
            ISceneNode* node = entry.node;
            const float ft = frameTimeOf(entry);
            if (entry.from == -1 && entry.to == -1)
                continue;
            if (entry.to == -1) {
                node->setTime(ft * float(entry.from), entry.recursive);
                node->play(entry.recursive);
                continue;
            }
            const float t0 = node->animation->time;
            const int32_t from = entry.from;
            const int32_t to = entry.to;
            const bool recursive = entry.recursive;
            if (from != -1)
                entry.endTime = from != to ? spanOf(entry) : 0.0f;
            else
                entry.endTime = std::fabs(t0 - ft * float(to));
            node->stop(recursive);
            if (from != -1) {
                node->setTime(ft * float(from), recursive);
                if (from != to)
                    node->playDirected(from > to, recursive);
            } else {
                node->setTime(t0, recursive);
                node->playDirected(ft * float(to) < t0, recursive);
            }
        }
    } else {
        for (size_t i = 0; i < entries.size(); ++i) {
            const MarkerEntry& entry = entries[i];
            if (entry.to != -1 && entry.endTime == -1.0f)
                continue;
            ISceneNode* node = entry.node;
            const float ft = frameTimeOf(entry);
            if (entry.from == entry.to)
                node->setTime(ft * float(entry.from), entry.recursive);
            else if (entry.from == -1)
                node->playDirected(ft * float(entry.to) < node->animation->time, entry.recursive);
            else
                node->playDirected(entry.to != -1 && entry.from > entry.to, entry.recursive);
        }
    }
    state = PLAYING;
}

void Marker::stop(bool all)
{
    for (const MarkerEntry& entry : entries)
        if (all || (entry.to != -1 && !entry.looped))
            entry.node->setPlaying(false, entry.recursive);
    state = elapsed != 0.0f ? PAUSED : STOPPED;
}

void Marker::update(float dt)
{
    if (updating || state == STOPPED)
        return;
    updating = true;
    elapsed += dt;
    bool anyRunning = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        MarkerEntry& entry = entries[i];
        if (entry.to == -1 || entry.endTime < 0.0f)
            continue;
        const bool running = elapsed < entry.endTime && !entry.looped;
        anyRunning = anyRunning || running;
        ISceneNode* node = entry.node;
        if (state == PAUSED && !node->playing) {
            entry.endTime += dt;
            continue;
        }
        if (entry.from == entry.to || elapsed < entry.endTime)
            continue;
        const bool recursive = entry.recursive;
        if (entry.looped) {
            const float base = frameTimeOf(entry) * float(entry.from);
            const float span = spanOf(entry);
            float over = elapsed - entry.endTime;
            if (entry.from > entry.to)
                over = -over;
            entry.endTime = elapsed + span;
            node->setTime(base + over, recursive);
            ISceneNode::update(node, 0.0f);
        } else if (state == PLAYING) {
            entry.endTime = -1.0f;
            node->setPlaying(false, recursive);
            node->setTime(float(entry.to) / node->animation->fps, recursive);
        }
    }
    if (state == PLAYING && !anyRunning) {
        state = FINISHED;
        // A listener may add or remove listeners, itself included.
        const std::vector<MarkerListener*> told = listeners;
        for (MarkerListener* listener : told)
            listener->onMarkerFinished(this);
    }
    updating = false;
}

void Marker::setReverse(bool r)
{
    if (r == reverse)
        return;
    for (MarkerEntry& entry : entries)
        if (bothFramesGiven(entry))
            std::swap(entry.from, entry.to);
    reverse = r;
    if (state != PLAYING) {
        state = STOPPED;
        elapsed = 0.0f;
        return;
    }
    UpdatingScope scope(updating);
    for (size_t i = 0; i < entries.size(); ++i) {
        MarkerEntry& entry = entries[i];
        if (!bothFramesGiven(entry))
            continue;
        // An entry that had already ended ran for its span only, however
        // long the marker has run since.
        entry.endTime = std::min(elapsed, spanOf(entry));
        entry.node->playDirected(entry.from > entry.to, entry.recursive);
    }
    elapsed = 0.0f;
}

void Marker::applyEndFrames()
{
    UpdatingScope scope(updating);
    for (size_t i = 0; i < entries.size(); ++i) {
        MarkerEntry& entry = entries[i];
        if (entry.looped || entry.to == -1)
            continue;
        entry.endTime = -1.0f;
        entry.node->setTime(frameTimeOf(entry) * float(entry.to), entry.recursive);
        entry.node->stopInPlace(entry.recursive);
    }
}

void Marker::skipToEnd()
{
    if (elapsed == 0.0f)
        start(true);
    applyEndFrames();
    state = FINISHED;
}

std::unique_ptr<Marker> Marker::copyToScene(ISceneNode* newRoot, const Marker& source, const ISceneNode* sourceRoot)
{
    auto copy = std::make_unique<Marker>(source.name);
    for (const MarkerEntry& entry : source.entries) {
        if (!entry.node || (entry.from == -1 && entry.to == -1))
            continue;
        if (ISceneNode* target = newRoot->findByPath(ISceneNode::getPath(entry.node, sourceRoot)))
            copy->addEntry(target, entry.from, entry.to, entry.recursive, entry.looped);
    }
    return copy;
}

void Marker::addListener(MarkerListener* listener)
{
    if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

void Marker::removeListener(MarkerListener* listener)
{
    const auto it = std::find(listeners.begin(), listeners.end(), listener);
    if (it != listeners.end())
        listeners.erase(it);
}

}  // namespace AE
