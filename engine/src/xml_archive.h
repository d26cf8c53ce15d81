#pragma once
// What the XML input and output archives share: the document and the stack
// of elements whose last one is the current element.

#include <deque>
#include <string>

#include <pugixml.hpp>

namespace VQ {

class XmlArchive {
public:
    XmlArchive() = default;
    XmlArchive(const XmlArchive&) = delete;
    XmlArchive& operator=(const XmlArchive&) = delete;

    // The current element (a null node when the stack is empty).
    pugi::xml_node currentNode() const { return mNodes.empty() ? pugi::xml_node() : mNodes.back(); }
    void pushNode(pugi::xml_node node) { mNodes.push_back(node); }
    void popNode()
    {
        if (!mNodes.empty())
            mNodes.pop_back();
    }

    pugi::xml_document& document() { return mDocument; }

protected:
    pugi::xml_document mDocument;
    std::deque<pugi::xml_node> mNodes;
};

// The name of the i-th element of a stored vector: "e0", "e1", ...
inline std::string vectorElementName(size_t index)
{
    // Appended, not `"e" + std::to_string(index)`: with that insert inlined
    // into the temporary's buffer, GCC 12 at -O3 warns (-Wrestrict) in every
    // Release unit that saves or loads a vector.
    std::string name(1, 'e');
    name += std::to_string(index);
    return name;
}

}  // namespace VQ
