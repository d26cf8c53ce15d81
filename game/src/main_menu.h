#pragma once
// The title screen ("MainMenu"), reached after the logo: the UI script
// "main_menu_ui" built by a job, with the script commands its buttons call.
// Leaving it unloads it, so every visit builds it again.

#include <string>

#include "dialogs/dialog_window.h"
#include "facebook_message_dispatcher.h"
#include "game_state.h"

namespace AE {
class ISceneNode;
}
namespace VQ {
class UIWidget;
}

class ConfirmWindow;

class MainMenu : public IGameState, public FacebookMessageListener, public DialogWindowListener {
public:
    // Unloaded; joins the social message bus.
    MainMenu();
    ~MainMenu() override;

    void load() override;
    void unload() override;
    void update(float dt) override;
    void draw() override;
    // The build.
    void onActivate() override;
    void onDeactivate() override;
    std::string getName() const override { return "MainMenu"; }
    void applyOrientation(bool portrait) override;
    void onMessage(const SocialMessage* message) override;
    // The exit question accepted: the program quits.
    void onHidden(DialogWindow* window) override;

    void initializeAsync();
    // The job's body: the build, then `loaded`.
    void initialize();

    // The script commands.
    void exit();
    void activateMode(std::string name);
    void showOptions();
    void connectFacebook();
    void showPartner();

    // The social connect button and its backing node in the title scene;
    // nothing when either is missing.
    void setConnectButton(bool visible);
    // The title scene the root hosts; null when the root hosts none.
    AE::ISceneNode* rootScene() const;

    VQ::UIWidget* root = nullptr;  // the UI manager's
    ConfirmWindow* exitQuestion = nullptr;  // made by each build, given up by each unload

private:
    void release();
};
