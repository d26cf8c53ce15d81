#include "particle_tail.h"

#include <algorithm>
#include <cmath>

#include "particle_emitter.h"
#include "sprite.h"

namespace VQ {

namespace {

// The small overlap that hides the seam between two segments.
constexpr float OVERLAP = 0.1f;

void computeGeometry(TailSegment& s, float width)
{
    s.delta = s.end - s.start;
    s.length = s.delta.length();
    if (!(s.length >= 0.0001f && s.length <= 10000000.0f))
        s.length = 1.0f;
    s.dir = s.delta / s.length;
    s.normal = Vector2f(-s.dir.y * width, s.dir.x * width);
}

Vector2f bisector(const Vector2f& a, const Vector2f& b, float width)
{
    Vector2f n = a + b;
    n.normalize();
    return n * width;
}

// The start edge of `c` from its corners; a corner that would fold past the
// segment's end is pulled onto it.
void finishEdge(TailSegment& c)
{
    Vector2f& startLeft = c.corners[0];
    const Vector2f& endLeft = c.corners[1];
    const Vector2f& endRight = c.corners[2];
    Vector2f& startRight = c.corners[3];
    const Vector2f edge(startLeft.y - startRight.y, startRight.x - startLeft.x);
    auto dot = [](const Vector2f& a, const Vector2f& b) { return a.x * b.x + a.y * b.y; };
    if (dot(endLeft - startLeft, edge) < 0.0f)
        startLeft = endLeft;
    if (dot(endRight - startRight, edge) < 0.0f)
        startRight = endRight;
    c.edge = edge;
}

// Shapes `c`, whose start meets `a` and whose end meets `b`, keeping the
// ribbon's thickness at the joints (the normals' bisector, not a mitre).
void joint(const TailSegment& a, const TailSegment& b, TailSegment& c, float width)
{
    const Vector2f nStart = bisector(a.normal, c.normal, width);
    const Vector2f nEnd = bisector(b.normal, c.normal, width);
    const Vector2f s = c.start + c.dir * OVERLAP;
    c.corners[0] = s + nStart;
    c.corners[3] = s - nStart;
    c.corners[1] = c.end + nEnd;
    c.corners[2] = c.end - nEnd;
    finishEdge(c);
}

// Closes `b` where it meets `a`.
void endCap(const TailSegment& a, TailSegment& b, float width)
{
    const Vector2f n = bisector(a.normal, b.normal, width);
    b.corners[1] = b.end + n;
    b.corners[2] = b.end - n;
    finishEdge(b);
}

void setSpan(TailSegment& s, const Vector2f& start, const Vector2f& end)
{
    s.start = start;
    s.end = end;
    s.active = true;
}

}  // namespace

int ParticleTail::ringSize() const
{
    return std::max(settings->ringSize, 1);
}

int ParticleTail::wrap(int index) const
{
    const int n = ringSize();
    const int r = index % n;
    return r < 0 ? r + n : r;
}

void ParticleTail::clear()
{
    count = 0;
    head = 0;
    std::fill(segments.begin(), segments.end(), TailSegment());
}

void ParticleTail::rebuild()
{
    segments.clear();
    count = 0;
    head = 0;
}

void ParticleTail::shapeHead(const Vector2f& point, const Vector2f& direction, const Vector2f& half)
{
    TailSegment& headSegment = at(head);
    TailSegment& previous = at(head - 1);
    TailSegment& beforePrevious = at(head - 2);
    const float w = float(settings->trailRectWidth);
    setSpan(headSegment, point - half, point + half);
    headSegment.u0 = w - float(settings->mHeadSizeTex);
    headSegment.u1 = w;
    setSpan(previous, anchor - direction * OVERLAP, headSegment.start);
    computeGeometry(previous, width);
    computeGeometry(beforePrevious, width);
    computeGeometry(headSegment, width);
    joint(headSegment, headSegment, headSegment, width);
    joint(beforePrevious, previous, previous, width);
    endCap(previous, beforePrevious, width);
}

void ParticleTail::update(float dt, const Vector2f& point)
{
    if (int(segments.size()) != ringSize()) {
        segments.assign(size_t(ringSize()), TailSegment());
        count = 0;
        head = 0;
    }
    head = wrap(head);
    const Vector2f d = point - anchor;
    const float dist = d.length();
    bool newSegmentDue = false;
    Vector2f direction;
    Vector2f half;
    // On the anchor itself the motion has no direction: the head waits.
    if (count < ringSize() && moving && dist > 0.0f) {
        direction = d / dist;
        half = direction * (float(settings->mHeadSize) * 0.5f);
        shapeHead(point, direction, half);
        newSegmentDue = dist > float(settings->mHeadSize) * 0.5f + settings->mMinDistSegments + 1.0f;
    }

    float speed = settings->mFadeSpeed;
    if (count > settings->mMaxSegments && dt > 0.0f)
        speed = std::max(speed, 0.9f * (lastPoint - point).length() / dt);
    if (count >= 1)
        shrink(dt * speed);

    if (newSegmentDue) {
        head = wrap(head + 1);
        ++count;
        anchor = point - half;
        shapeHead(point, direction, half);
    }

    if (std::fabs(point.x - lastPoint.x) <= 0.1f && std::fabs(point.y - lastPoint.y) <= 0.1f) {
        moving = false;
        return;
    }
    moving = true;
    lastPoint = point;
    if (count <= 1) {
        head = 2;
        for (int i = 0; i < 3; ++i) {
            TailSegment& s = at(i);
            s = TailSegment();
            setSpan(s, point, point);
        }
        anchor = point;
        count = 3;
        tailLength = 0.0f;
    }
}

void ParticleTail::shrink(float amount)
{
    int first = oldest();
    while (count > 0 && amount >= at(first).length) {
        TailSegment& gone = at(first);
        gone.active = false;
        amount -= gone.length;
        --count;
        first = wrap(first + 1);
    }
    // Everything shrank away: nothing is left to move.
    if (count > 0) {
        TailSegment& s = at(first);
        s.start += s.dir * amount;
        computeGeometry(s, width);
        const int newer = first == head ? first : wrap(first + 1);
        joint(s, at(newer), s, width);
    }
    spreadTexture();
}

void ParticleTail::spreadTexture()
{
    tailLength = 0.0f;
    for (int k = 1; k < count; ++k)
        tailLength += at(head - k).length;
    const float r = settings->trailRectWidth - float(settings->mHeadSizeTex);
    float running = 0.0f;
    float previousU0 = r;
    for (int k = 1; k < count; ++k) {
        TailSegment& s = at(head - k);
        running += s.length;
        s.u1 = previousU0;
        s.u0 = tailLength > 0.0f ? r - r * running / tailLength : 0.0f;
        previousU0 = s.u0;
    }
}

void ParticleTail::draw(Sprite& sprite)
{
    if (count < 2 || segments.empty() || sprite.cols() < 1 || sprite.rows() < 1)
        return;
    const float left = settings->trailRectLeft;
    const float top = settings->trailRectTop;
    const float height = settings->trailRectHeight;
    for (int k = count - 1; k >= 0; --k) {
        const TailSegment& s = at(head - k);
        sprite.setGridVertex(s.corners[0], 0, 0);
        sprite.setGridVertex(s.corners[1], 1, 0);
        sprite.setGridVertex(s.corners[2], 1, 1);
        sprite.setGridVertex(s.corners[3], 0, 1);
        sprite.setGridTexCoord(Vector2f(left + s.u0, top), 0, 0);
        sprite.setGridTexCoord(Vector2f(left + s.u1, top), 1, 0);
        sprite.setGridTexCoord(Vector2f(left + s.u1, top + height), 1, 1);
        sprite.setGridTexCoord(Vector2f(left + s.u0, top + height), 0, 1);
        sprite.updateVertices();
        sprite.draw();
    }
}

}  // namespace VQ
