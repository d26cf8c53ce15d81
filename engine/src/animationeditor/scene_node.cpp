#include "animationeditor/scene_node.h"

#include <algorithm>
#include <cmath>

#include "animationeditor/movie_camera.h"
#include "log_system.h"

namespace AE {

namespace {

constexpr float kDegToRad = 0.0174533f;
constexpr float kRadToDeg = 57.2958f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415925f;
constexpr float kChangeThreshold = 0.001f;

bool moved(float value, float last)
{
    return std::fabs(value - last) > kChangeThreshold;
}

// The child indices leading from `root` down to `node`; false when the
// node is not in root's subtree.
bool indexPath(const ISceneNode* root, const ISceneNode* node, std::vector<size_t>& path)
{
    path.clear();
    for (const ISceneNode* n = node; n != root; n = n->parent) {
        if (!n || !n->parent)
            return false;
        const auto& siblings = n->parent->children;
        size_t i = 0;
        while (i < siblings.size() && siblings[i] != n)
            ++i;
        if (i == siblings.size())
            return false;
        path.push_back(i);
    }
    std::reverse(path.begin(), path.end());
    return true;
}

bool isUnder(const ISceneNode* node, const ISceneNode* ancestor)
{
    for (const ISceneNode* n = node; n; n = n->parent)
        if (n == ancestor)
            return true;
    return false;
}

}  // namespace

ISceneNode::ISceneNode() : animation(std::make_unique<SceneNodeAnimation>(true))
{
    bindBaseTracks();
    computeTransform();
}

ISceneNode::ISceneNode(const ISceneNode& source, ISceneNode* newParent)
    : fileName(source.fileName),
      name(source.name),
      tableName(source.tableName),
      posZ(source.posZ),
      posX(source.posX),
      posY(source.posY),
      worldPosition(source.worldPosition),
      rotation(source.rotation),
      pivotPoint(source.pivotPoint),
      scaleX(source.scaleX),
      scaleY(source.scaleY),
      color(source.color),
      worldColor(source.worldColor),
      enabled(source.enabled),
      animation(std::make_unique<SceneNodeAnimation>(*source.animation)),
      loop(source.loop),
      visible(source.visible),
      reverse(source.reverse),
      rangeFrom(source.rangeFrom),
      rangeTo(source.rangeTo),
      selectsCamera(source.selectsCamera),
      worldMatrix(source.worldMatrix),
      shear(source.shear),
      parallaxEnabled(source.parallaxEnabled)
{
    // Taken first: a copy placed under its own source would otherwise be
    // among the children it copies.
    const std::vector<ISceneNode*> sourceChildren = source.children;
    bindBaseTracks();
    computeTransform();
    setParent(newParent, true);
    for (const ISceneNode* child : sourceChildren)
        child->clone(this);
    mendCopiedCamera(source);
    for (const auto& marker : source.markers)
        markers.push_back(Marker::copyToScene(this, *marker, &source));
}

// The source's camera lies in the source's tree, which may be deleted once
// cloned: the copy takes its own node at the same place, when that is a
// camera.
void ISceneNode::mendCopiedCamera(const ISceneNode& source)
{
    activeCamera = nullptr;
    std::vector<size_t> path;
    if (!source.activeCamera || !indexPath(&source, source.activeCamera, path))
        return;
    ISceneNode* node = this;
    for (size_t i : path) {
        if (i >= node->children.size())
            return;
        node = node->children[i];
    }
    activeCamera = dynamic_cast<MovieCamera*>(node);
}

ISceneNode::~ISceneNode()
{
    // Each child leaves this list from its own destructor.
    while (!children.empty())
        delete children.back();
    markers.clear();
    animation.reset();
    setParent(nullptr, true);
    unregisterScene(this);
}

ISceneNode* ISceneNode::clone(ISceneNode* newParent) const
{
    return new ISceneNode(*this, newParent);
}

void ISceneNode::bindBaseTracks()
{
    SceneNodeAnimation& a = *animation;
    a.bind("posX", &posX);
    a.bind("posY", &posY);
    a.bind("rotation", &rotation);
    a.bind("scaleX", &scaleX);
    a.bind("scaleY", &scaleY);
    a.bind("pivotPoint", &pivotPoint);
    a.bind("posZ", &posZ);
    a.bind("color", &color);
    a.bind("shear00", &shear.m00);
    a.bind("shear01", &shear.m01);
    a.bind("shear10", &shear.m10);
    a.bind("shear11", &shear.m11);
}

// --- Transform ---

Matrix3 ISceneNode::composeLocalMatrix(const VQ::Vector2f& position, float degrees, const VQ::Vector2f& pivot,
                                       float sx, float sy, const Matrix3& shearMatrix)
{
    return Matrix3::translation(-pivot.x, -pivot.y) * Matrix3::scaling(sx, sy) * shearMatrix *
           Matrix3::rotation(degrees * kDegToRad) * Matrix3::translation(position.x + pivot.x, position.y + pivot.y);
}

void ISceneNode::buildLocalMatrix()
{
    localMatrix = composeLocalMatrix(VQ::Vector2f(posX, posY), rotation, pivotPoint, scaleX, scaleY, shear);
}

void ISceneNode::computeTransform()
{
    buildLocalMatrix();
    mLastPosX = posX;
    mLastPosY = posY;
    mLastRotation = rotation;
    mLastPivotX = pivotPoint.x;
    mLastPivotY = pivotPoint.y;
    mLastScaleX = scaleX;
    mLastScaleY = scaleY;
    mLastShear = shear;
    mLastParent = parent;
    if (parent) {
        worldMatrix = localMatrix * parent->worldMatrix;
        parent->worldMatrix.transformPoint(posX, posY, worldPosition.x, worldPosition.y);
    } else {
        worldMatrix = localMatrix;
        worldPosition = VQ::Vector2f(posX, posY);
    }
    worldChanged = true;
}

bool ISceneNode::transformDirty() const
{
    return moved(posX, mLastPosX) || moved(posY, mLastPosY) || moved(rotation, mLastRotation) ||
           moved(scaleX, mLastScaleX) || moved(scaleY, mLastScaleY) || moved(pivotPoint.x, mLastPivotX) ||
           moved(pivotPoint.y, mLastPivotY) || moved(shear.m10, mLastShear.m10) ||
           moved(shear.m11, mLastShear.m11) || moved(shear.m00, mLastShear.m00) ||
           moved(shear.m01, mLastShear.m01) || parent != mLastParent;
}

void ISceneNode::updateTransform()
{
    if (transformDirty()) {
        computeTransform();
    } else {
        worldChanged = false;
        if (parent && parent->worldChanged) {
            worldMatrix = localMatrix * parent->worldMatrix;
            parent->worldMatrix.transformPoint(posX, posY, worldPosition.x, worldPosition.y);
            worldChanged = true;
        }
    }
    for (ISceneNode* child : children)
        child->updateTransform();
}

void ISceneNode::setWorldPosition(const VQ::Vector2f& point)
{
    const Matrix3 toLocal = parent ? parent->worldMatrix.inverse() : Matrix3();
    toLocal.transformPoint(point.x, point.y, posX, posY);
    updateTransform();
}

void ISceneNode::setWorldX(float x)
{
    setWorldPosition(VQ::Vector2f(x, worldMatrix.m21));
}

void ISceneNode::setWorldY(float y)
{
    setWorldPosition(VQ::Vector2f(worldMatrix.m20, y));
}

float ISceneNode::getWorldRotation() const
{
    return rotation + (parent ? parent->getWorldRotation() : 0.0f);
}

VQ::Vector2f ISceneNode::getReferencePoint() const
{
    const Matrix3& m = children.empty() ? worldMatrix : children.front()->worldMatrix;
    return VQ::Vector2f(m.m20, m.m21);
}

void ISceneNode::setRotation(float degrees)
{
    rotation = degrees;
    updateTransform();
}

void ISceneNode::setScaleX(float scale)
{
    scaleX = scale;
    updateTransform();
}

void ISceneNode::setScaleY(float scale)
{
    scaleY = scale;
    updateTransform();
}

void ISceneNode::setPosition(const VQ::Vector2f& position)
{
    posX = position.x;
    posY = position.y;
}

void ISceneNode::decomposeTransform(const Matrix3& m, const VQ::Vector2f& pivot, float& rotationInOut,
                                    VQ::Vector2f& scale, VQ::Vector2f& position, Matrix3& shearOut)
{
    const float current = rotationInOut;
    float theta0 = std::atan2(m.m01, m.m00);
    if (m.m01 < -0.001f)
        theta0 += kTwoPi;

    // The angle of the matrix, moved by whole turns next to the current one.
    const float r = current * kDegToRad;
    const float c = std::fmod(r, kTwoPi);
    if (theta0 < 0.0f && c >= 0.0f)
        theta0 += kTwoPi;
    else if (theta0 >= 0.0f && c < 0.0f)
        theta0 -= kTwoPi;
    float theta = (r - c) + theta0;

    Matrix3 linear = m;
    linear.m20 = 0.0f;
    linear.m21 = 0.0f;
    linear.m22 = 1.0f;
    const Matrix3 aroundPivot =
        Matrix3::translation(-pivot.x, -pivot.y) * linear * Matrix3::translation(pivot.x, pivot.y);
    const Matrix3 translation = aroundPivot.inverse() * m;
    position = VQ::Vector2f(translation.m20, translation.m21);

    Matrix3 h = Matrix3::translation(pivot.x, pivot.y) * m *
                (Matrix3::rotation(theta) * Matrix3::translation(position.x + pivot.x, position.y + pivot.y)).inverse();
    float sx = std::sqrt(h.m00 * h.m00 + h.m01 * h.m01);
    float sy = std::sqrt(h.m10 * h.m10 + h.m11 * h.m11);
    h.m00 /= sx;
    h.m01 /= sx;
    h.m10 /= sy;
    h.m11 /= sy;

    const bool mirrored = m.m00 * m.m11 - m.m01 * m.m10 < 0.0f;
    const bool far = std::fabs(r - theta) > 1.0f;
    // The direction compares the current rotation in degrees with theta in
    // radians, as the saved scenes were made with.
    const float flip = (current - theta) < 0.0f ? -1.0f : 1.0f;
    if (far)
        theta -= flip * kPi;
    if (mirrored) {
        if (far)
            sx = -sx;
        else
            sy = -sy;
        h.m10 = -h.m10;
        h.m11 = -h.m11;
    } else if (far) {
        sx = -sx;
        sy = -sy;
    }
    // The shear is a linear part: its translation is zero but for rounding.
    h.m02 = 0.0f;
    h.m12 = 0.0f;
    h.m20 = 0.0f;
    h.m21 = 0.0f;
    h.m22 = 1.0f;

    rotationInOut = theta;
    scale = VQ::Vector2f(sx, sy);
    shearOut = h;
}

VQ::Vector2f ISceneNode::basisCoefficients(const VQ::Vector2f& u, const VQ::Vector2f& v, const VQ::Vector2f& p)
{
    auto cross = [](const VQ::Vector2f& s, const VQ::Vector2f& t) { return s.x * t.y - s.y * t.x; };
    auto denominator = [](float d) { return std::fabs(d) < 0.00001f ? 0.00001f : d; };
    const float a = cross(u, p) / denominator(cross(u, v));
    const float b = cross(v, p) / denominator(cross(v, u));
    return VQ::Vector2f(a, b);
}

// --- Re-parenting ---

void ISceneNode::rederiveFrom(const Matrix3& relative)
{
    float theta = rotation;
    VQ::Vector2f scale;
    VQ::Vector2f position;
    Matrix3 shearValues;
    decomposeTransform(relative, pivotPoint, theta, scale, position, shearValues);
    setRotation(theta * kRadToDeg);
    setScaleX(scale.x);
    setScaleY(scale.y);
    setPosition(position);
    shear = shearValues;
    updateTransform();
}

// The two sides call each other; each checks its own state first, which
// ends the exchange.
void ISceneNode::setParent(ISceneNode* newParent, bool keepLocal)
{
    if (newParent == parent)
        return;
    if (parent) {
        if (!newParent && !keepLocal)
            rederiveFrom(worldMatrix * parent->worldMatrix.inverse());
        parent->removeChild(this, keepLocal);
    }
    parent = newParent;
    if (!newParent)
        return;
    if (!keepLocal)
        rederiveFrom(worldMatrix * newParent->worldMatrix.inverse());
    newParent->addChild(this, keepLocal);
}

void ISceneNode::addChild(ISceneNode* child, bool keepLocal)
{
    if (!child || std::find(children.begin(), children.end(), child) != children.end())
        return;
    children.push_back(child);
    child->setParent(this, keepLocal);
}

void ISceneNode::removeChild(ISceneNode* child, bool keepLocal)
{
    const auto it = std::find(children.begin(), children.end(), child);
    if (it == children.end())
        return;
    children.erase(it);
    for (ISceneNode* node = this; node; node = node->parent) {
        for (const auto& marker : node->markers)
            marker->removeNode(child);
        // A camera leaving the tree must not stay its active camera.
        if (node->activeCamera && isUnder(node->activeCamera, child))
            node->activeCamera = nullptr;
    }
    child->setParent(nullptr, keepLocal);
}

// --- Own per-frame step ---

void ISceneNode::updateDerived(float dt)
{
    worldColor = parent ? parent->worldColor * color : color;
    // By index: a listener told of a finished marker may add markers.
    for (size_t i = 0; i < markers.size(); ++i)
        markers[i]->update(dt);
}

// --- Markers ---

void ISceneNode::addMarker(std::unique_ptr<Marker> marker)
{
    if (marker)
        markers.push_back(std::move(marker));
}

Marker* ISceneNode::getMarker(const std::string& markerName) const
{
    for (const auto& marker : markers)
        if (marker->name == markerName)
            return marker.get();
    return nullptr;
}

Marker* ISceneNode::requireMarker(const std::string& markerName) const
{
    Marker* marker = getMarker(markerName);
    if (!marker)
        VQ::log(VQ::formatString("ERROR: Can't find marker '%s' in node '%s'", markerName.c_str(), name.c_str()));
    return marker;
}

void ISceneNode::playMarker(const std::string& markerName)
{
    if (Marker* marker = getMarker(markerName))
        marker->start(true);
}

void ISceneNode::stopMarkers(bool recursive, bool rewind)
{
    for (const auto& marker : markers) {
        if (rewind)
            marker->start(true);
        for (const MarkerEntry& entry : marker->entries)
            entry.node->setPlaying(false, entry.recursive);
        marker->state = marker->elapsed != 0.0f ? Marker::PAUSED : Marker::STOPPED;
    }
    if (recursive)
        for (ISceneNode* child : children)
            child->stopMarkers(true, rewind);
}

}  // namespace AE
