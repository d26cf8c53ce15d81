#pragma once
// The social login indicator: the scene "loading_fb_xml", updated and drawn
// by the application every frame, its markers telling the login's outcome.

#include "facebook_message_dispatcher.h"

namespace AE {
class ISceneNode;
}

class FFIcon : public FacebookMessageListener {
public:
    // Joins the bus and loads the scene, hidden ("hide").
    FFIcon();
    ~FFIcon() override;

    // 1 "suc", 2 "failed", 3 "hide", anything else "wait".
    void setState(int state);
    void onMessage(const SocialMessage* message) override;

    AE::ISceneNode* scene = nullptr;  // owned
    bool waiting = false;
};
