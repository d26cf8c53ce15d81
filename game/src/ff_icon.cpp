#include "ff_icon.h"

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"

FFIcon::FFIcon()
{
    if (FacebookMessageDispatcher* dispatcher = FacebookMessageDispatcher::instancePtr())
        dispatcher->addListener(this);
    scene = AE::loadScene("loading_fb_xml");
    if (scene)
        setState(3);
}

FFIcon::~FFIcon()
{
    delete scene;
}

void FFIcon::setState(int state)
{
    if (!scene)
        return;
    const char* name = state == 1 ? "suc" : state == 2 ? "failed" : state == 3 ? "hide" : "wait";
    if (AE::Marker* marker = scene->getMarker(name))
        marker->start(false);
}

void FFIcon::onMessage(const SocialMessage* message)
{
    if (!waiting || (message->type != SOCIAL_LOGGED_IN && message->type != SOCIAL_LOGIN_FAILED))
        return;
    waiting = false;
    setState(message->type == SOCIAL_LOGGED_IN ? 1 : 2);
}
