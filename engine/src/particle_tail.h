#pragma once
// The ribbon a trailed particle leaves: a short head centred on the particle
// along its motion and a tail of straight segments behind it, kept in a ring
// and shrunk from the far end. Each segment is drawn as one quad of the
// emitter's sprite, the texture laid along the ribbon: the head takes the
// right-most texels, the tail stretches the rest over its length.

#include <vector>

#include "vector2.h"

namespace VQ {

class ParticleEmitter;
class Sprite;

struct TailSegment {
    Vector2f edge;
    Vector2f start;
    Vector2f end;
    // Drawing order: start-left, end-left, end-right, start-right.
    Vector2f corners[4];
    float u0 = 0.0f;
    float u1 = 0.0f;
    Vector2f normal;
    Vector2f delta;
    Vector2f dir;
    float length = 0.0f;
    bool active = false;
};

class ParticleTail {
public:
    // The trail settings (ring size, head and segment sizes, fade speed,
    // texture rectangle) are the emitter's; it outlives its tails.
    explicit ParticleTail(const ParticleEmitter* settings) : settings(settings) {}

    // No segment in use; the anchor, last point and motion flag stay.
    void clear();
    // A new zeroed ring of the emitter's ring size (made when first needed).
    void rebuild();
    // One frame: `point` is the particle's world position.
    void update(float dt, const Vector2f& point);
    // Every segment in use, oldest first, as one quad each. The sprite must
    // stand at (0, 0) unturned and unscaled: the corners are world points.
    void draw(Sprite& sprite);

    // Ring index of the oldest segment in use.
    int oldest() const { return wrap(head - count + 1); }
    int wrap(int index) const;

    const ParticleEmitter* settings;  // not owned
    std::vector<TailSegment> segments;
    int count = 0;
    int head = 0;
    float width = 0.0f;
    float tailLength = 0.0f;
    Vector2f anchor;
    Vector2f lastPoint;
    bool moving = false;

private:
    TailSegment& at(int index) { return segments[size_t(wrap(index))]; }
    int ringSize() const;
    // The head from P - half to P + half and the growing segment behind it
    // from the anchor to the head, with their joints.
    void shapeHead(const Vector2f& point, const Vector2f& direction, const Vector2f& half);
    void shrink(float amount);
    void spreadTexture();
};

}  // namespace VQ
