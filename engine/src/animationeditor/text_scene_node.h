#pragma once
// The scene node that shows text: a line or block of wide-character text
// drawn with an interface font through the node's world matrix, inside a
// text area, with alignment, spacing, a glyph limit, word wrap, clipping and
// pixel snapping. The raw text may be a localisation key. A font preset can
// supply the layout values in place of the node's animated ones, and
// auto-scale shrinks a single line until it fits the area's width.

#include <cstdint>
#include <memory>
#include <string>

#include "animationeditor/frame_data.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/scene_node_data.h"

namespace VQ {
class UIFont;
}

namespace AE {

// A text node's state in memory.
class TextSceneNodeData : public ISceneNodeData {
public:
    int dataSize() const override { return 175; }

    VQ::Vector2f textArea;
    VQ::Vector2f clipLT;
    VQ::Vector2f clipRB;
    bool wordWrap = false;
    bool clipping = false;
    bool pixelPrecision = false;
    bool localized = false;
    float xcoeff = 0.0f;
    float ycoeff = 0.0f;
    uint32_t valign = 0;
    uint32_t halign = 0;
    int32_t maxChar = 0;
    int32_t textBytes = 0;    // 2 x length + 2
    int32_t presetBytes = 0;  // length + 1
    bool usePreset = false;
    bool distortion = false;
    bool autoScale = false;
    std::u16string text;
    std::string presetName;
};

class TextSceneNode : public ISceneNode {
public:
    TextSceneNode(const std::string& fontName, const std::u16string& text);
    TextSceneNode(const TextSceneNode& source, ISceneNode* parent);
    ~TextSceneNode() override;

    int kind() const override { return SCENE_NODE_TEXT; }
    void updateDerived(float dt) override;
    // (64, 64) for an empty text area.
    VQ::Vector2f getSize() const override;
    void setSize(const VQ::Vector2f& size) override { textArea = size; }
    void storeKeyFrame(uint32_t frame) override;
    void applyFrameData(uint32_t frame, const IFrameData& data) override;
    ISceneNode* clone(ISceneNode* parent) const override;
    std::unique_ptr<IFrameData> createFrameData(uint32_t frame, bool world) override;
    void setNodeData(const ISceneNodeData& data) override;
    std::unique_ptr<ISceneNodeData> createNodeData(bool bake) override;
    void fillNodeData(ISceneNodeData& data, bool bake) override;
    void save(DataStream& stream, bool bake) override;
    void load(DataStream& stream) override;
    void render() override;
    // An operation of this kind kept without a use: it answers false.
    virtual bool reservedQuery(int32_t, int32_t) { return false; }

    // The engine's narrow text is UTF-8.
    void setText(const std::string& text);
    // Takes the font when the name exists in the current language's
    // package or in "default"; otherwise the node keeps its font.
    void setFont(const std::string& name);
    // displayText from rawText; run after every change of rawText or
    // localized.
    void updateText();
    // On: the layout values come from the preset `presetName` of
    // "font_presets_lua", and the text tracks no longer write them. A
    // missing script or table turns it off again.
    void setUsePreset(bool flag);

    VQ::UIFont* getFont() const { return font; }

    std::u16string rawText;
    std::u16string displayText;
    VQ::Vector2f textArea;
    VQ::Vector2f layoutArea;
    std::string presetName;
    bool wordWrap = false;
    bool clipping = false;
    float xcoeff = 0.0f;
    float ycoeff = 0.0f;
    uint32_t valign = 0;
    uint32_t halign = 0;
    VQ::Vector2f clipLT;
    VQ::Vector2f clipRB;
    bool pixelPrecision = true;
    int32_t maxChar = -1;
    bool localized = false;
    bool usePreset = false;
    bool stencil = false;
    bool distortion = false;
    bool autoScale = false;
    Matrix3 drawMatrix;

private:
    void bindTextTracks();
    void unbindTextTracks();
    void releaseFont();

    VQ::UIFont* font = nullptr;  // one reference of the font manager's
};

}  // namespace AE
