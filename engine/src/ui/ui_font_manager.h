#pragma once
// Creates and shares the UI's bitmap fonts and reads the text presets.

#include "singleton.h"

namespace VQ {

class UIFontManager : public Singleton<UIFontManager> {
public:
    UIFontManager() = default;
};

}  // namespace VQ
