#pragma once
// The element every animated scene is built from: a named node in a tree
// with a 2D affine transform (position, rotation, scale, pivot and a shear
// matrix), a colour its children inherit by modulation, an owned key-frame
// animation whose tracks are bound to the node's own fields, and named
// markers. A plain ISceneNode is a group node; the drawable and other kinds
// derive from it.
//
// Game code drives a tree with ISceneNode::update(root, dt) once a frame and
// draws it with renderScene(root).

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node_animation.h"
#include "color.h"
#include "matrix3.h"
#include "vector2.h"

namespace AE {

using VQ::Matrix3;

class DataStream;
class IFrameData;
class ISceneNodeData;
class MovieCamera;
class SpriteSceneNode;

enum SceneNodeKind {
    SCENE_NODE_GROUP = 0,  // also the mesh node
    SCENE_NODE_SPRITE = 1,
    SCENE_NODE_PARTICLE = 2,
    SCENE_NODE_SOUND = 3,
    SCENE_NODE_TEXT = 4,
    SCENE_NODE_CAMERA = 5,
};

class ISceneNode {
public:
    ISceneNode();
    // A deep copy under `parent` (none: the caller owns it): values, the
    // animation with all keys, every child through its clone, and the
    // markers re-pointed at the copied nodes. The copy does not play.
    ISceneNode(const ISceneNode& source, ISceneNode* parent);
    ISceneNode& operator=(const ISceneNode&) = delete;
    // Deletes the subtree (last child first) and the markers, leaves the
    // parent and the list of live scenes.
    virtual ~ISceneNode();

    // --- The kinds' interface ---
    virtual int kind() const { return SCENE_NODE_GROUP; }
    // The interface keeps four operations without a use (this one, reserved20,
    // reserved32 and reserved33): they do nothing and no kind overrides them.
    virtual void reserved2() {}
    // The own per-frame step: world colour, then the markers.
    virtual void updateDerived(float dt);
    // World translation of the first child, or of the node itself.
    virtual VQ::Vector2f getReferencePoint() const;
    virtual void setRotation(float degrees);
    virtual void setScaleX(float scale);
    virtual void setScaleY(float scale);
    // The animation's playing flag is set whatever the flag.
    virtual void setPlaying(bool flag, bool recursive);
    virtual void moveKeyFrame(uint32_t oldFrame, uint32_t newFrame);
    virtual bool hitTest(float x, float y, bool checkAlpha);
    // (64 * scaleX, 64 * scaleY) under a parent, else (0, 0).
    virtual VQ::Vector2f getSize() const;
    virtual VQ::Vector2f getBoundsSize();
    virtual void setSize(const VQ::Vector2f& size) { (void)size; }
    virtual void storeKeyFrame(uint32_t frame);
    virtual void applyFrameData(uint32_t frame, const IFrameData& data);
    virtual void removeKeyFrame(uint32_t frame);
    virtual void seekFrame(int32_t frame);
    // No transform update.
    virtual void setPosition(const VQ::Vector2f& position);
    virtual void setTime(float seconds, bool recursive);
    virtual void reserved20(int32_t, int32_t, int32_t) {}
    virtual ISceneNode* clone(ISceneNode* parent) const;
    virtual void copyKeyFrame(uint32_t fromFrame, uint32_t toFrame);
    virtual void insertKeyFrame(uint32_t frame);
    virtual std::unique_ptr<IFrameData> createFrameData(uint32_t frame, bool world);
    virtual void setNodeData(const ISceneNodeData& data);
    virtual std::unique_ptr<ISceneNodeData> createNodeData(bool bake);
    virtual void fillNodeData(ISceneNodeData& data, bool bake);
    // Run when the node stops.
    virtual void stopDerived() {}
    virtual void save(DataStream& stream, bool bake);
    virtual void load(DataStream& stream);
    virtual void render() {}
    virtual void reserved32() {}
    virtual void reserved33() {}

    // --- Tree and transform ---
    // keepLocal false keeps the node's place on screen under the new parent.
    void setParent(ISceneNode* newParent, bool keepLocal);
    // Takes ownership; nothing when the child is already there.
    void addChild(ISceneNode* child, bool keepLocal);
    // Gives ownership back to the caller and drops the child's subtree from
    // the markers of this node and its ancestors.
    void removeChild(ISceneNode* child, bool keepLocal);
    // Rebuilds the matrices of the subtree where values moved by more than
    // 0.001 or a parent's world matrix changed.
    void updateTransform();
    void computeTransform();
    void setPosition(float x, float y) { setPosition(VQ::Vector2f(x, y)); }
    void setWorldPosition(const VQ::Vector2f& point);
    void setWorldX(float x);
    void setWorldY(float y);
    // Degrees: the node's rotation plus its ancestors'.
    float getWorldRotation() const;
    VQ::Color getColor() const { return color; }
    VQ::Color getWorldColor() const { return worldColor; }

    // T(-pivot) * S(scale) * shear * R(degrees) * T(position + pivot).
    static Matrix3 composeLocalMatrix(const VQ::Vector2f& position, float degrees, const VQ::Vector2f& pivot,
                                      float scaleX, float scaleY, const Matrix3& shear);
    // Node values reproducing an affine matrix, the representation closest
    // to the current rotation `rotation` (degrees in, radians out).
    static void decomposeTransform(const Matrix3& matrix, const VQ::Vector2f& pivot, float& rotation,
                                   VQ::Vector2f& scale, VQ::Vector2f& position, Matrix3& shear);
    // (a, b) with p = b * u + a * v.
    static VQ::Vector2f basisCoefficients(const VQ::Vector2f& u, const VQ::Vector2f& v, const VQ::Vector2f& p);

    // --- The per-frame pass and play controls ---
    // Advances and evaluates every animation of the tree, rebuilds the
    // transforms, runs the kinds' own steps and the markers, and lets the
    // root choose its camera. dt 0 re-evaluates every track.
    static void update(ISceneNode* root, float dt);
    void update(float dt) { update(this, dt); }
    void play(bool recursive);
    void playDirected(bool reverse, bool recursive);
    // Rewinds to time 0; the values of the last evaluation stay shown.
    void stop(bool recursive);
    // Stops where it is; children (with recursive) are stopped and rewound.
    void stopInPlace(bool recursive);
    // The node and every descendant.
    void setEnabled(bool flag);
    void chooseCamera();
    // Sets the render system's view for this node's drawing: the tree's
    // active camera, with parallax by depth.
    void applyCamera();
    MovieCamera* getActiveCamera() const;
    bool rootSelectsCamera() const;

    // --- Lookup ---
    // Breadth-first from the node itself; exact name.
    ISceneNode* findNode(const std::string& name);
    // Segments separated by '/'; a segment may be the start of a name, the
    // last must be a whole name, an empty first segment matches any root.
    ISceneNode* findByPath(const std::string& path);
    static std::string getPath(const ISceneNode* node, const ISceneNode* root);
    // The node and its descendants in pre-order.
    void collectNodes(std::vector<ISceneNode*>& list);
    // The descendants, breadth-first.
    std::vector<ISceneNode*> collectDescendants();

    // --- Markers ---
    void addMarker(std::unique_ptr<Marker> marker);
    Marker* getMarker(const std::string& name) const;
    // As getMarker, logging "ERROR: Can't find marker ..." when missing.
    Marker* requireMarker(const std::string& name) const;
    void playMarker(const std::string& name);
    void stopMarkers(bool recursive, bool rewind);

    // --- Key frames ---
    bool hasKeyFrame(uint32_t frame) const;
    std::vector<uint32_t> keyFrameNumbers() const { return animation->keyFrames; }
    void storeKeyFrameValues(uint32_t frame, float x, float y, float z, float degrees, float sx, float sy,
                             const VQ::Color& c, const Matrix3& shearValues, const VQ::Vector2f& pivot);
    Matrix3 worldMatrixAtFrame(uint32_t frame) const;

    std::string fileName;
    std::string name = "default";
    std::string tableName = "default";
    // Owned. Raw because a child leaves this list from its own destructor.
    std::vector<ISceneNode*> children;
    ISceneNode* parent = nullptr;
    float posZ = 0.0f;  // larger is further back
    float posX = 0.0f;
    float posY = 0.0f;
    VQ::Vector2f worldPosition;
    float rotation = 0.0f;  // degrees
    VQ::Vector2f pivotPoint;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    bool worldChanged = true;
    Matrix3 localMatrix;
    VQ::Vector2f reservedVector;
    VQ::Color color{0xFFFFFFFFu};
    VQ::Color worldColor{0xFFFFFFFFu};
    MovieCamera* activeCamera = nullptr;  // not owned
    bool playing = false;
    bool enabled = true;
    std::unique_ptr<SceneNodeAnimation> animation;
    bool loop = false;
    bool reservedFlag1 = false;
    bool reservedFlag2 = false;
    bool reservedFlag3 = false;
    // Kept, copied and saved; nothing draws by it.
    bool visible = true;
    bool reservedFlag5 = false;
    bool reverse = false;
    int32_t rangeFrom = 0;  // both 0: no range
    int32_t rangeTo = 0;
    bool selectsCamera = true;
    Matrix3 worldMatrix;
    Matrix3 shear;
    std::vector<std::unique_ptr<Marker>> markers;
    bool parallaxEnabled = true;

private:
    void bindBaseTracks();
    void buildLocalMatrix();
    bool transformDirty() const;
    // Sets rotation, scale, position and shear so that the local matrix
    // becomes `relative`.
    void rederiveFrom(const Matrix3& relative);
    void mendCopiedCamera(const ISceneNode& source);

    // The values the local matrix was last built from.
    float mLastPosX = 0.0f;
    float mLastPosY = 0.0f;
    float mLastRotation = 0.0f;
    float mLastPivotX = 0.0f;
    float mLastPivotY = 0.0f;
    float mLastScaleX = 0.0f;
    float mLastScaleY = 0.0f;
    Matrix3 mLastShear;
    ISceneNode* mLastParent = nullptr;
};

// The value of the named track's key at or before the node's current time
// (not interpolated). The animation must have a key frame.
float currentKeyFloat(ISceneNode& node, const std::string& name);
VQ::Vector2f currentKeyVector2(ISceneNode& node, const std::string& name);
VQ::Color currentKeyColor(ISceneNode& node, const std::string& name);
bool currentKeyBool(ISceneNode& node, const std::string& name);

// Draws a tree by depth: the greatest posZ first (furthest back), equal
// depths in reverse pre-order; the render system's view is restored after.
void renderScene(ISceneNode* root);

// A scene file of package "default" (or a file of that path) as a new tree,
// registered and evaluated at time 0; null when it cannot be read.
ISceneNode* loadScene(const std::string& resourceName);

// The roots of the loaded scenes. Guarded by a mutex: scenes are loaded on
// state-loading threads.
void registerScene(ISceneNode* root);
// Removes every entry of the root.
void unregisterScene(ISceneNode* root);
std::vector<ISceneNode*> liveScenes();
// Appends the live scenes' names to "VQ.log" in the working folder.
void dumpScenes();

// 0 until the game sets it (1 at start-up); a play range wraps around only
// above 0.
extern int effectsLevel;
// The masked sprite node whose shape the stencil buffer holds; cleared at
// the start of every renderScene.
extern SpriteSceneNode* activeClipNode;

}  // namespace AE
