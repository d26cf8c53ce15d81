#pragma once
// Engine notifications: small records sent to every registered listener in
// registration order (device reset, application activated or deactivated).

#include <cstdint>
#include <vector>

#include "singleton.h"

namespace VQ {

enum EngineNotificationId : uint32_t {
    NOTIFICATION_DEVICE_RESET = 1,
    NOTIFICATION_APP_ACTIVATED = 2,
    NOTIFICATION_APP_DEACTIVATED = 3,
};

struct Notification {
    uint32_t id;
};

class NotificationListener {
public:
    virtual ~NotificationListener() = default;
    virtual void onNotification(const Notification& notification) = 0;
};

// Holds listener pointers, never the listeners themselves.
class NotificationDispatcher {
public:
    virtual ~NotificationDispatcher() = default;
    void addListener(NotificationListener* listener);
    void removeListener(NotificationListener* listener);
    void send(const Notification& notification);

private:
    std::vector<NotificationListener*> mListeners;
};

class EngineNotificationDispatcher : public NotificationDispatcher,
                                     public Singleton<EngineNotificationDispatcher> {
public:
    // Checks that the dispatcher exists, then sends to every listener.
    static void dispatch(const Notification& notification);
};

}  // namespace VQ
