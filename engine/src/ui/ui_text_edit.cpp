#include "ui/ui_text_edit.h"

#include <algorithm>

#include "input_manager.h"
#include "log_system.h"
#include "platform/input_sdl.h"
#include "ui/ui_controller.h"
#include "ui/ui_font.h"
#include "ui/ui_label.h"
#include "ui/ui_manager.h"
#include "ui/ui_script_keys.h"

namespace VQ {

namespace {

float measure(const UIFont& font, const std::u16string& text, float xcoeff)
{
    if (text.empty())
        return 0.0f;
    return font.measureLine(text.data(), text.data() + text.size() - 1, xcoeff);
}

bool isCharacterKey(uint8_t key)
{
    return (key >= 0x30 && key <= 0x39) || (key >= 0x41 && key <= 0x5A) || (key >= 0x61 && key <= 0x7A) ||
           key >= 0x80;
}

}  // namespace

UITextEdit::~UITextEdit()
{
    forgetSignal(textEnteredCallbacks);
}

void UITextEdit::connect(const std::string& signal, std::unique_ptr<IFunction> function)
{
    if (signal == "textEntered")
        appendCallback(textEnteredCallbacks, std::move(function));
}

void UITextEdit::loadProperties(LuaScript2& script)
{
    UIWidget::loadProperties(script);
    UIKeys::readUInt(script, "maxLength", maxLength);
    UIKeys::readFlag(script, "filterSpecialCharacters", filterSpecialCharacters);
}

void UITextEdit::forgetSubtree(const UIWidget* gone)
{
    UIWidget::forgetSubtree(gone);
    if (caption && (caption == gone || gone->isDescendant(caption)))
        caption = nullptr;
}

void UITextEdit::resolveCaption()
{
    if (captionResolved)
        return;
    captionResolved = true;
    caption = dynamic_cast<UILabel*>(findChild("caption"));
    if (!caption || !caption->font)
        return;
    const UIFont& font = *caption->font;
    const std::u16string widest(maxLength, char16_t(font.widestCode()));
    const float w = measure(font, widest, caption->xcoeff);
    const float h = font.lineHeight(0.0f);
    size = Vector2f(w, h);
    position = Vector2f(position.x - w / 2.0f, position.y - h / 2.0f);
    caption->position = Vector2f(caption->position.x + w / 2.0f, caption->position.y + h / 2.0f);
}

size_t UITextEdit::clampCaret()
{
    const size_t length = caption ? caption->text.size() : 0;
    if (caption)
        caretIndex = uint32_t(std::min<size_t>(caretIndex, length));
    return length;
}

bool UITextEdit::refuses(char16_t c) const
{
    if (!filterSpecialCharacters)
        return false;
    return c <= 0x1F || (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E);
}

void UITextEdit::insertKey(uint8_t key)
{
    uint8_t keyState[256] = {};
    if (InputManager* input = InputManager::instancePtr())
        if (const KeyboardDevice* keyboard = input->keyboard())
            std::copy(keyboard->current, keyboard->current + 256, keyState);
    const char16_t c = keyToCharacter(key, keyState);
    if (c == 0 || refuses(c))
        return;
    resolveCaption();
    if (!caption)
        return;
    const size_t length = clampCaret();
    if (length >= maxLength)
        return;
    caption->text.insert(caption->text.begin() + std::ptrdiff_t(caretIndex), c);
    ++caretIndex;
}

int32_t UITextEdit::processMessage(uint32_t event)
{
    switch (UIEvent::kind(event)) {
    case UIEvent::POINTER_HELD: {
        const UIPCController* input = pointerInput();
        if (!input || !hitTest(input->pressPoint))
            return 0;
        capturePointer();
        return 1;
    }
    case UIEvent::POINTER_RELEASED:
        releasePointer();
        return 1;
    case UIEvent::KEY_PRESSED:
        break;
    default:
        return 0;
    }
    const uint8_t key = UIEvent::keyCode(event);
    switch (key) {
    case VirtualKey::BACK:
        resolveCaption();
        if (caption && caretIndex > 0) {
            const size_t length = clampCaret();
            if (caretIndex > 0 && caretIndex <= length) {
                caption->text.erase(caretIndex - 1, 1);
                --caretIndex;
            }
        }
        break;
    case VirtualKey::RETURN:
        emit(textEnteredCallbacks);
        break;
    case VirtualKey::LEFT:
        if (caretIndex > 0)
            --caretIndex;
        break;
    case VirtualKey::RIGHT:
        if (captionResolved && caption)
            caretIndex = uint32_t(std::min<size_t>(caretIndex + 1, caption->text.size()));
        break;
    case VirtualKey::DELETE_KEY:
        resolveCaption();
        if (caption) {
            const size_t length = clampCaret();
            if (caretIndex < length)
                caption->text.erase(caretIndex, 1);
        }
        break;
    default:
        if (isCharacterKey(key)) {
            log(formatString("%i", int(key)));
            insertKey(key);
        }
        break;
    }
    return 1;
}

void UITextEdit::update(float dt)
{
    caretPhase += 2.0f * dt;
}

void UITextEdit::endRender()
{
    resolveCaption();
    if (!caption || !caption->font)
        return;
    UIFont& font = *caption->font;
    const bool visibleNow = (int64_t(caretPhase) % 2) == 1;
    Color caretColor = color;
    // Scripts may push transparency outside 0..1.
    const float alpha = std::clamp(float(color.a) / 255.0f * transparency, 0.0f, 1.0f);
    caretColor.a = uint8_t(alpha * (visibleNow ? 1.0f : 0.0f) * 255.0f);
    font.color = caretColor;
    const size_t length = clampCaret();
    const std::u16string& text = caption->text;
    const std::u16string before = text.substr(0, std::min<size_t>(caretIndex, length));
    const std::u16string bar = u"|";
    const float x = caption->size.x / 2.0f - measure(font, text, caption->xcoeff) / 2.0f +
                    measure(font, before, caption->xcoeff) - measure(font, bar, caption->xcoeff) / 2.0f;
    const Vector2f at = caption->absolutePosition();
    font.drawLine(clipRect, Vector2f(at.x + x, at.y), "|", true, caption->xcoeff, caption->ycoeff, clipEnabled,
                  caption->size.y);
}

}  // namespace VQ
