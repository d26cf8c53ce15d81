// Scene files into node trees: the document, objects by kind, markers and
// their play lists, and loadScene.

#include "animationeditor/scene_file_loader.h"

#include <cstring>
#include <memory>
#include <vector>

#include "animationeditor/scene_file_reader.h"
#include "animationeditor/scene_node.h"
#include "file.h"
#include "file_system.h"
#include "log_system.h"

namespace AE {

namespace {

// The reader of each "type", compared exactly and in this order; any other
// type is a group.
struct KindReader {
    const char* type;
    SceneObjectReader read;
};

const KindReader kKindReaders[] = {
    {"Sprite", readSpriteObject},
    {"ParticleFX", readParticleObject},
    {"Sound", readSoundObject},
    {"MovieCamera", readCameraObject},
    {"Text", readTextObject},
};

SceneObjectReader readerOf(pugi::xml_node object)
{
    const char* type = object.attribute("type").value();
    for (const KindReader& kind : kKindReaders)
        if (std::strcmp(type, kind.type) == 0)
            return kind.read;
    return readGroupObject;
}

// What one load carries down the recursion.
struct LoadContext {
    std::string sceneName;
    bool depthWarned = false;
};

ISceneNode* loadObject(ISceneNode* parent, pugi::xml_node object, int depth, LoadContext& context)
{
    if (depth > MAX_SCENE_DEPTH) {
        if (!context.depthWarned)
            VQ::log(VQ::formatString("WARNING: Scene %s nests objects deeper than %d levels; the deeper ones are "
                                     "left out",
                                     context.sceneName.c_str(), MAX_SCENE_DEPTH));
        context.depthWarned = true;
        return nullptr;
    }
    std::unique_ptr<ISceneNode> read(readerOf(object)(object));
    if (!read)
        return nullptr;
    ISceneNode* node = read.get();
    if (parent)
        parent->addChild(read.release(), true);
    const pugi::xml_node first = object.child("Childs").child("Object");
    for (pugi::xml_node child = first; child; child = child.next_sibling())
        if (child.type() == pugi::node_element)
            loadObject(node, child, depth + 1, context);
    readMarkers(object, node);
    read.release();
    return node;
}

std::string rootFileName(const ISceneNode* node)
{
    while (node && node->parent)
        node = node->parent;
    return node ? node->fileName : std::string();
}

// Parses (package "default", name), else the file of that path.
bool parseScene(const std::string& resourceName, pugi::xml_document& document)
{
    std::unique_ptr<VQ::File> file(VQ::FileSystem::instance()->openFile("default", resourceName));
    document.reset();
    if (!file)
        return bool(document.load_file(resourceName.c_str()));
    std::vector<char> bytes;
    if (!VQ::readWholeResource(*file, resourceName, bytes))
        return false;
    return bool(document.load_buffer(bytes.data(), bytes.size()));
}

}  // namespace

void parsePlayList(pugi::xml_node description, ISceneNode* node)
{
    auto marker = std::make_unique<Marker>(description.child("name").text().get());
    for (pugi::xml_node entry : description.child("playList").children()) {
        if (entry.type() != pugi::node_element)
            continue;
        ISceneNode* target = hasAttribute(entry, "path") ? node->findByPath(attributeString(entry, "path"))
                                                         : node->findNode(attributeString(entry, "name"));
        marker->addEntry(target, attributeInt(entry, "from"), attributeInt(entry, "to"),
                         attributeBool(entry, "recursive"), attributeBool(entry, "looped"));
    }
    node->markers.push_back(std::move(marker));
}

void readMarkers(pugi::xml_node element, ISceneNode* node)
{
    for (pugi::xml_node description : element.child("markers").children())
        if (description.type() == pugi::node_element)
            parsePlayList(description, node);
}

ISceneNode* loadSceneObject(ISceneNode* parent, pugi::xml_node object)
{
    LoadContext context;
    context.sceneName = rootFileName(parent);
    return loadObject(parent, object, 1, context);
}

bool loadSceneFile(ISceneNode*& root, const std::string& resourceName, pugi::xml_document& document)
{
    if (!parseScene(resourceName, document)) {
        document.reset();
        return false;
    }
    // A root made here is freed should a fatal report leave the load early.
    std::unique_ptr<ISceneNode> created;
    if (!root) {
        created = std::make_unique<ISceneNode>();
        created->name = resourceName;
    }
    ISceneNode* target = root ? root : created.get();
    target->fileName = resourceName;
    LoadContext context;
    context.sceneName = resourceName;
    const pugi::xml_node scene = document.child("Scene");
    for (pugi::xml_node object : scene.children("Object"))
        loadObject(target, object, 1, context);
    readMarkers(scene, target);
    ISceneNode::update(target, 0.0f);
    document.reset();
    if (created)
        root = created.release();
    registerScene(root);
    return true;
}

ISceneNode* loadScene(const std::string& resourceName)
{
    pugi::xml_document document;
    ISceneNode* root = nullptr;
    if (!loadSceneFile(root, resourceName, document))
        return nullptr;
    return root;
}

}  // namespace AE
