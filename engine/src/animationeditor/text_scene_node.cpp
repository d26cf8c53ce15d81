#include "animationeditor/text_scene_node.h"

#include "animationeditor/data_stream.h"
#include "animationeditor/scene_stencil.h"
#include "config_manager.h"
#include "file_system.h"
#include "lua_script_2.h"
#include "rect.h"
#include "render_system.h"
#include "ui/text_manager.h"
#include "ui/ui_font.h"
#include "ui/ui_font_manager.h"

namespace AE {

namespace {

// The alignment codes are unsigned in the node and int in their tracks.
int* asInt(uint32_t* field)
{
    return reinterpret_cast<int*>(field);
}

}  // namespace

TextSceneNode::TextSceneNode(const std::string& fontName, const std::u16string& text) : rawText(text)
{
    setUsePreset(false);
    setFont(fontName);
    updateText();
}

TextSceneNode::TextSceneNode(const TextSceneNode& source, ISceneNode* newParent) : ISceneNode(source, newParent)
{
    // The preset is named before it is switched on, so that the copy reads
    // the source's preset rather than none.
    presetName = source.presetName;
    setUsePreset(source.usePreset);
    rawText = source.rawText;
    textArea = source.textArea;
    setFont(source.fileName);
    wordWrap = source.wordWrap;
    clipping = source.clipping;
    xcoeff = source.xcoeff;
    ycoeff = source.ycoeff;
    valign = source.valign;
    halign = source.halign;
    clipLT = source.clipLT;
    clipRB = source.clipRB;
    pixelPrecision = source.pixelPrecision;
    maxChar = source.maxChar;
    localized = source.localized;
    stencil = source.stencil;
    distortion = source.distortion;
    autoScale = source.autoScale;
    updateText();
}

TextSceneNode::~TextSceneNode()
{
    releaseFont();
}

ISceneNode* TextSceneNode::clone(ISceneNode* newParent) const
{
    return new TextSceneNode(*this, newParent);
}

void TextSceneNode::releaseFont()
{
    if (font && VQ::UIFontManager::exists())
        VQ::UIFontManager::instance()->releaseFont(font);
    font = nullptr;
}

// --- Text and font ---

void TextSceneNode::setText(const std::string& text)
{
    rawText = VQ::ansiToWide(text);
    updateText();
}

void TextSceneNode::setFont(const std::string& fontName)
{
    if (fontName.empty() || !VQ::UIFontManager::exists() || !VQ::FileSystem::exists())
        return;
    VQ::FileSystem* files = VQ::FileSystem::instance();
    const std::string language =
        VQ::ConfigManager::exists() ? VQ::ConfigManager::instance()->currentLanguage() : std::string();
    if (!files->contains(language, fontName) && !files->contains("default", fontName))
        return;
    VQ::UIFont* newFont = VQ::UIFontManager::instance()->getFont(fontName);
    releaseFont();
    font = newFont;
    fileName = fontName;
}

void TextSceneNode::updateText()
{
    if (localized && VQ::TextManager::exists())
        displayText = VQ::TextManager::instance()->text(VQ::wideToAnsi(rawText));
    else
        displayText = rawText;
}

// --- Preset ---

void TextSceneNode::bindTextTracks()
{
    SceneNodeAnimation& a = *animation;
    a.bind("textArea", &textArea);
    a.bind("maxChar", &maxChar, true);
    a.bind("xcoeff", &xcoeff);
    a.bind("ycoeff", &ycoeff);
    a.bind("halign", asInt(&halign), false);
    a.bind("valign", asInt(&valign), false);
    a.bind("clipLT", &clipLT);
    a.bind("clipRB", &clipRB);
}

void TextSceneNode::unbindTextTracks()
{
    SceneNodeAnimation& a = *animation;
    a.unbind("textArea", &textArea);
    a.unbind("maxChar", &maxChar);
    a.unbind("xcoeff", &xcoeff);
    a.unbind("ycoeff", &ycoeff);
    a.unbind("halign", asInt(&halign));
    a.unbind("valign", asInt(&valign));
    a.unbind("clipLT", &clipLT);
    a.unbind("clipRB", &clipRB);
}

void TextSceneNode::setUsePreset(bool flag)
{
    // Bound once: binding a field twice would write it twice.
    unbindTextTracks();
    usePreset = flag;
    if (!flag) {
        bindTextTracks();
        return;
    }
    VQ::LuaScript2 script;
    const bool loaded = VQ::UIFontManager::exists() &&
                        script.load("font_presets_lua", VQ::UIFontManager::instance()->getFontPackage());
    if (!loaded || !script.openTable(presetName)) {
        setUsePreset(false);
        return;
    }
    // Each key changes its field only when it is there with a fitting value.
    unsigned u = 0;
    if (script.getUInt("halign", u, 0))
        halign = u;
    if (script.getUInt("valign", u, 0))
        valign = u;
    float f = 0.0f;
    if (script.getFloat("xcoeff", f, 0.0f))
        xcoeff = f;
    if (script.getFloat("ycoeff", f, 0.0f))
        ycoeff = f;
    bool b = false;
    if (script.getBool("wordWrap", b))
        wordWrap = b;
    VQ::Color c;
    if (script.getColor("color", c))
        color = c;
    std::string fontName;
    if (script.getString("font", fontName))
        setFont(fontName);
    script.closeTable();
}

// --- Per frame ---

void TextSceneNode::updateDerived(float dt)
{
    ISceneNode::updateDerived(dt);
    drawMatrix = worldMatrix;
    layoutArea = textArea;
    if (!font || wordWrap || !autoScale || !(textArea.x > 0.0f))
        return;
    size_t n = displayText.size();
    if (maxChar >= 0 && size_t(maxChar) < n)
        n = size_t(maxChar);
    const float width = n ? font->measureLine(displayText.data(), displayText.data() + n - 1, xcoeff) : 0.0f;
    if (textArea.x < width) {
        const float k = textArea.x / width;
        drawMatrix.m00 *= k;
        drawMatrix.m11 *= k;
        layoutArea.x /= k;
    }
}

VQ::Vector2f TextSceneNode::getSize() const
{
    if (textArea.x == 0.0f && textArea.y == 0.0f)
        return VQ::Vector2f(64.0f, 64.0f);
    return textArea;
}

void TextSceneNode::render()
{
    if (!font || !enabled || rawText.empty())
        return;
    applyCamera();
    VQ::RenderSystem* renderSystem = VQ::RenderSystem::instance();
    font->color = worldColor;
    if (stencil)
        beginStencilDrawing(*this);
    if (distortion)
        renderSystem->beginDistortion();
    const float tx = drawMatrix.m20;
    const float ty = drawMatrix.m21;
    const VQ::Rect clipRect(tx + clipLT.x, ty + clipLT.y, tx + clipRB.x, ty + clipRB.y);
    font->drawTextTransformed(&drawMatrix.m00, displayText, wordWrap, halign, valign, xcoeff, ycoeff, clipping,
                              clipRect, pixelPrecision, maxChar, layoutArea);
    if (stencil)
        endStencilDrawing();
    if (distortion)
        renderSystem->endDistortion();
}

// --- Key frames ---

void TextSceneNode::storeKeyFrame(uint32_t frame)
{
    ISceneNode::storeKeyFrame(frame);
    SceneNodeAnimation& a = *animation;
    const int i = a.keyFrameIndex(frame);
    a.keyAt<VQ::Vector2f>("textArea", i).value = textArea;
    a.keyAt<int>("maxChar", i).value = maxChar;
    a.keyAt<float>("xcoeff", i).value = xcoeff;
    a.keyAt<float>("ycoeff", i).value = ycoeff;
    a.keyAt<int>("halign", i).value = int(halign);
    a.keyAt<int>("valign", i).value = int(valign);
    a.keyAt<VQ::Vector2f>("clipLT", i).value = clipLT;
    a.keyAt<VQ::Vector2f>("clipRB", i).value = clipRB;
}

void TextSceneNode::applyFrameData(uint32_t frame, const IFrameData& data)
{
    ISceneNode::applyFrameData(frame, data);
    SceneNodeAnimation& a = *animation;
    const int i = a.keyFrameIndex(frame);
    TextFrameData values;
    if (const auto* own = dynamic_cast<const TextFrameData*>(&data)) {
        values = *own;
    } else {
        values.textArea = previousKeyValue(*this, "textArea", i, textArea);
        values.maxChar = previousKeyValue(*this, "maxChar", i, int(maxChar));
        values.xcoeff = previousKeyValue(*this, "xcoeff", i, xcoeff);
        values.ycoeff = previousKeyValue(*this, "ycoeff", i, ycoeff);
        values.halign = uint32_t(previousKeyValue(*this, "halign", i, int(halign)));
        values.valign = uint32_t(previousKeyValue(*this, "valign", i, int(valign)));
        values.clipLT = previousKeyValue(*this, "clipLT", i, clipLT);
        values.clipRB = previousKeyValue(*this, "clipRB", i, clipRB);
    }
    a.keyAt<VQ::Vector2f>("textArea", i).value = values.textArea;
    a.keyAt<int>("maxChar", i).value = values.maxChar;
    a.keyAt<float>("xcoeff", i).value = values.xcoeff;
    a.keyAt<float>("ycoeff", i).value = values.ycoeff;
    a.keyAt<int>("halign", i).value = int(values.halign);
    a.keyAt<int>("valign", i).value = int(values.valign);
    a.keyAt<VQ::Vector2f>("clipLT", i).value = values.clipLT;
    a.keyAt<VQ::Vector2f>("clipRB", i).value = values.clipRB;
}

std::unique_ptr<IFrameData> TextSceneNode::createFrameData(uint32_t frame, bool world)
{
    return captureFrameData<TextFrameData>(*this, frame, world);
}

// --- Node data ---

void TextSceneNode::fillNodeData(ISceneNodeData& base, bool bake)
{
    ISceneNode::fillNodeData(base, bake);
    auto* data = dynamic_cast<TextSceneNodeData*>(&base);
    if (!data)
        return;
    data->textArea = textArea;
    data->clipLT = clipLT;
    data->clipRB = clipRB;
    data->wordWrap = wordWrap;
    data->clipping = clipping;
    data->pixelPrecision = pixelPrecision;
    data->localized = localized;
    data->xcoeff = xcoeff;
    data->ycoeff = ycoeff;
    data->valign = valign;
    data->halign = halign;
    data->maxChar = maxChar;
    data->text = rawText;
    data->textBytes = int32_t(2 * rawText.size() + 2);
    data->presetName = presetName;
    data->presetBytes = int32_t(presetName.size() + 1);
    data->usePreset = usePreset;
    data->distortion = distortion;
    data->autoScale = autoScale;
}

std::unique_ptr<ISceneNodeData> TextSceneNode::createNodeData(bool bake)
{
    return makeNodeData<TextSceneNodeData>(*this, bake);
}

void TextSceneNode::setNodeData(const ISceneNodeData& base)
{
    ISceneNode::setNodeData(base);
    const auto* data = dynamic_cast<const TextSceneNodeData*>(&base);
    if (!data)
        return;
    textArea = data->textArea;
    wordWrap = data->wordWrap;
    clipping = data->clipping;
    xcoeff = data->xcoeff;
    ycoeff = data->ycoeff;
    valign = data->valign;
    halign = data->halign;
    clipLT = data->clipLT;
    clipRB = data->clipRB;
    pixelPrecision = data->pixelPrecision;
    maxChar = data->maxChar;
    localized = data->localized;
    distortion = data->distortion;
    autoScale = data->autoScale;
    if (!data->presetName.empty())
        presetName = data->presetName;
    setUsePreset(data->usePreset);
    updateText();
}

// --- Saved form ---

void TextSceneNode::save(DataStream& stream, bool bake)
{
    writeBool(stream, usePreset);
    ISceneNode::save(stream, bake);
    for (char16_t unit : rawText)
        writeValue<uint16_t>(stream, uint16_t(unit));
    writeValue<uint16_t>(stream, 0);
    writeCString(stream, presetName);
    writeValue(stream, textArea.x);
    writeValue(stream, textArea.y);
    writeValue(stream, clipLT.x);
    writeValue(stream, clipLT.y);
    writeValue(stream, clipRB.x);
    writeValue(stream, clipRB.y);
    writeBool(stream, wordWrap);
    writeBool(stream, clipping);
    writeBool(stream, pixelPrecision);
    writeBool(stream, localized);
    writeValue(stream, xcoeff);
    writeValue(stream, ycoeff);
    writeValue(stream, valign);
    writeValue(stream, halign);
    writeValue(stream, maxChar);
    writeBool(stream, stencil);
    writeBool(stream, distortion);
    writeBool(stream, autoScale);
}

void TextSceneNode::load(DataStream& stream)
{
    const bool presetFlag = readBool(stream);
    ISceneNode::load(stream);
    rawText.clear();
    for (uint16_t unit = readValue<uint16_t>(stream); unit != 0; unit = readValue<uint16_t>(stream))
        rawText.push_back(char16_t(unit));
    readCString(presetName, stream);
    textArea.x = readValue<float>(stream);
    textArea.y = readValue<float>(stream);
    clipLT.x = readValue<float>(stream);
    clipLT.y = readValue<float>(stream);
    clipRB.x = readValue<float>(stream);
    clipRB.y = readValue<float>(stream);
    wordWrap = readBool(stream);
    clipping = readBool(stream);
    pixelPrecision = readBool(stream);
    localized = readBool(stream);
    xcoeff = readValue<float>(stream);
    ycoeff = readValue<float>(stream);
    valign = readValue<uint32_t>(stream);
    halign = readValue<uint32_t>(stream);
    maxChar = readValue<int32_t>(stream);
    stencil = readBool(stream);
    distortion = readBool(stream);
    autoScale = readBool(stream);
    // The preset is applied once its name is known, after the whole record.
    setUsePreset(presetFlag);
    if (!usePreset) {
        const std::string name = fileName;
        releaseFont();
        setFont(name);
        fileName = name;
    }
    updateText();
}

}  // namespace AE
