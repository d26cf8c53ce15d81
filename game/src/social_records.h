#pragma once
// The records of the social layer: a user (the player or a friend) with
// the photo the worker thread looks after, the requests friends send each
// other, the answers to requests sent, and the message that carries news of
// any of them over the bus.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace VQ {
class Sprite;
}

struct SocialRequest {
    std::string id;
    uint64_t senderId = 0;
    std::u16string senderName;
    // An XML document: root "params" with the attributes "type" (the kind:
    // "takeLife", "takeSteps", "giveLife") and "value".
    std::string params;
};

// The answer to the requests sent to one user.
struct RequestGroup {
    uint64_t userId = 0;
    std::string requestId;
    std::string extra;
    std::vector<SocialRequest> requests;
};

struct SocialUser {
    uint64_t id = 0;
    std::string idText;
    std::u16string fullName;
    std::u16string firstName;
    std::u16string middleName;
    std::u16string lastName;
    std::string extra;
    // The help window offers only friends with this mark.
    uint8_t askable = 0;
    std::vector<std::string> answeredRequestIds;
    std::vector<RequestGroup> requestGroups;
    int32_t pendingRequests = 0;
    int32_t requestState = 0;  // 2: every pending request answered

    // The photo and the two flags below are shared with the photo worker:
    // touch them only under `lock`.
    VQ::Sprite* photo = nullptr;  // the sprite manager's
    std::recursive_mutex lock;
    uint8_t photoLoaded = 0;
    uint8_t photoWanted = 1;
};

// The message types the layer knows; any other is ignored by everyone.
enum SocialMessageType : int32_t {
    SOCIAL_LOGGED_IN = 1,
    SOCIAL_LOGGED_OUT = 2,
    SOCIAL_LOGIN_FAILED = 3,
    SOCIAL_USER_READY = 4,
    SOCIAL_FRIENDS_READY = 6,
    SOCIAL_REQUESTS = 8,
    SOCIAL_ANSWER = 13,
    SOCIAL_ANSWER_2 = 14,
    SOCIAL_ALL_ANSWERED = 15,
    SOCIAL_REQUEST_SENT = 19,
    SOCIAL_REQUEST_FAILED = 20,
    SOCIAL_REQUEST_FAILED_2 = 21,
    SOCIAL_REQUEST_REMOVED = 22,
    SOCIAL_REQUEST_REMOVED_2 = 23,
};

// Valid only while it is being delivered; the payload that matters is the
// one of its type.
struct SocialMessage {
    int32_t type = 0;
    std::vector<SocialRequest> requests;  // 8
    RequestGroup group;                   // 13, 14
    uint64_t userId = 0;                  // 15, 22, 23
    int32_t requestId = 0;                // 19, 20, 21
    std::string removedRequestId;         // 22, 23
};
