#pragma once
// Owns the interface's widget trees, feeds them the input and draws them.
// Registers the script commands "hide", "hideForcibly", "show" and
// "showForcibly", which show or hide a widget by name.

#include <mutex>
#include <string>

#include "singleton.h"

namespace VQ {

class UIManager : public Singleton<UIManager> {
public:
    UIManager();
    // Unregisters its commands so that no script reaches a deleted manager.
    ~UIManager() override;

    // Once per frame, unless a loading job runs or a video plays.
    void update();
    // Draws the shown widgets.
    void render();

    // The script commands; the argument is the widget's name, and a name no
    // widget has does nothing.
    void show(std::string name);
    void hide(std::string name);
    void showForcibly(std::string name);
    void hideForcibly(std::string name);

private:
    std::recursive_mutex mMutex;
};

}  // namespace VQ
