#include "ui/ui_label.h"

#include <algorithm>

#include "ui/text_manager.h"
#include "ui/ui_font.h"
#include "ui/ui_font_manager.h"
#include "ui/ui_script_keys.h"

namespace VQ {

namespace {
const char* const SYSTEM_FONT = "system_font_fnt";
}  // namespace

UILabel::~UILabel()
{
    setFont(nullptr);
}

void UILabel::setFont(UIFont* newFont)
{
    if (font && UIFontManager::exists())
        UIFontManager::instance()->releaseFont(font);
    font = newFont;
}

void UILabel::setText(const std::string& value)
{
    text.clear();
    if (value.size() > 1 && value[0] == '#') {
        text = TextManager::instance()->text(value.substr(1));
        return;
    }
    for (const char c : value)
        text.push_back(char16_t(static_cast<unsigned char>(c)));
}

void UILabel::loadProperties(LuaScript2& script)
{
    UIWidget::loadProperties(script);
    loadLabelKeys(script);
}

void UILabel::loadLabelKeys(LuaScript2& script)
{
    std::string preset;
    if (UIKeys::readString(script, "fontPreset", preset)) {
        TextPreset read;
        if (UIFontManager::instance()->loadTextPresetByName(preset, &read) == 0) {
            halign = read.halign;
            valign = read.valign;
            wordWrap = read.wordWrap;
            xcoeff = read.xcoeff;
            ycoeff = read.ycoeff;
            textColor = read.color;
            setFont(read.font);
        }
    }
    std::string value;
    if (UIKeys::readString(script, "text", value))
        setText(value);
    UIKeys::readVector(script, "size", size);
    UIKeys::readUInt(script, "halign", halign);
    UIKeys::readUInt(script, "valign", valign);
    std::string sizeOf;
    if (UIKeys::readString(script, "sizeof", sizeOf) && parent)
        if (UIWidget* measured = parent->findChild(sizeOf))
            size = measured->contentBounds();
    UIKeys::readFlag(script, "wordWrap", wordWrap);
    std::string fontName;
    if (UIKeys::readString(script, "font", fontName))
        setFont(UIFontManager::instance()->getFont(fontName));
    else if (!font)
        setFont(UIFontManager::instance()->getFont(SYSTEM_FONT));
    UIKeys::readFloat(script, "xcoeff", xcoeff);
    UIKeys::readFloat(script, "ycoeff", ycoeff);
    UIKeys::readFlag(script, "pixelPrecision", pixelPrecision);
    UIKeys::readColor(script, "color", textColor);
}

void UILabel::beginRender()
{
    if (!font || text.empty())
        return;
    Color drawing = textColor;
    // Scripts may push transparency outside 0..1.
    drawing.a = uint8_t(float(textColor.a) * std::clamp(transparency, 0.0f, 1.0f));
    font->color = drawing;
    font->drawText(clipRect, absolutePosition(), text, wordWrap, halign, valign, xcoeff, ycoeff, clipEnabled,
                   pixelPrecision, size.x, size.y);
}

}  // namespace VQ
