#include "notification_dispatcher.h"

#include <algorithm>

namespace VQ {

void NotificationDispatcher::addListener(NotificationListener* listener)
{
    mListeners.push_back(listener);
}

void NotificationDispatcher::removeListener(NotificationListener* listener)
{
    mListeners.erase(std::remove(mListeners.begin(), mListeners.end(), listener), mListeners.end());
}

void NotificationDispatcher::send(const Notification& notification)
{
    // A copy, so a listener may unregister itself while being told.
    const std::vector<NotificationListener*> listeners = mListeners;
    for (NotificationListener* listener : listeners)
        listener->onNotification(notification);
}

void EngineNotificationDispatcher::dispatch(const Notification& notification)
{
    instance()->send(notification);
}

}  // namespace VQ
