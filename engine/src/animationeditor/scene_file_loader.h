#pragma once
// The scene file loader: an XML scene document ("Scene", its "Object"
// elements with their "Childs" and "markers") becomes a tree of scene nodes,
// each object read by the reader of its "type" (scene_file_reader.h). Every
// tree built joins the list of live scenes.

#include <string>

#include <pugixml.hpp>

namespace AE {

class ISceneNode;

// Objects nested deeper than this are left out: the loader and the tree
// operations recurse.
constexpr int MAX_SCENE_DEPTH = 256;

// Reads (package "default", resourceName), or a file of that path when no
// package holds it, into `root` (created, named after the resource, when
// null). False, with nothing built, when the document cannot be parsed.
bool loadSceneFile(ISceneNode*& root, const std::string& resourceName, pugi::xml_document& document);
// One object and its subtree under `parent` (may be null); null when the
// object's reader gave nothing.
ISceneNode* loadSceneObject(ISceneNode* parent, pugi::xml_node object);
// The "markers" child of `element` as markers of `node`.
void readMarkers(pugi::xml_node element, ISceneNode* node);
void parsePlayList(pugi::xml_node description, ISceneNode* node);

}  // namespace AE
