#include "facebook_integration.h"

#include "facebook_data_streamer.h"

FacebookIntegration::FacebookIntegration()
{
    if (!FacebookMessageDispatcher::exists())
        new FacebookMessageDispatcher();
    if (!FacebookDataStreamer::exists())
        new FacebookDataStreamer();
    FacebookMessageDispatcher::instance()->addListener(this);
}

FacebookIntegration::~FacebookIntegration() = default;

void FacebookIntegration::onMessage(const SocialMessage* message)
{
    (void)message;
}
