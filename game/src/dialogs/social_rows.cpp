#include "dialogs/social_rows.h"

#include <mutex>

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "dialogs/dialog_window.h"
#include "facebook_integration.h"
#include "game_properties.h"
#include "game_time.h"
#include "localized_format.h"
#include "main_mode.h"
#include "player_profile.h"
#include "pugixml.hpp"
#include "sprite.h"
#include "sprite_manager.h"
#include "ui/text_manager.h"
#include "utils.h"

namespace {

const char* const ICONS = "map_sprites";
const char* const PACKAGE = "default";

std::u16string localizedText(const std::string& key)
{
    return VQ::TextManager::exists() ? VQ::TextManager::instance()->text(key) : VQ::utf8ToWide(key);
}

// The description of a friend's gift with the friend's first name in it.
std::u16string withFirstName(const std::string& key, const std::u16string& firstName)
{
    return VQ::utf8ToWide(formatLocalized(key, VQ::wideToUtf8(firstName)));
}

void setIcon(VQ::UISceneListItem& item, const std::string& sprite)
{
    if (auto* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr())
        item.setIconSlot("icon", sprites->createSpriteFromScript(ICONS, sprite, PACKAGE));
}

AE::ISceneNode* itemNode(const VQ::UISceneListItem& item, const std::string& name)
{
    return item.scene ? item.scene->findNode(name) : nullptr;
}

SocialUser* knownUser(uint64_t id)
{
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    return integration ? integration->findUser(id) : nullptr;
}

}  // namespace

void setTreeEnabled(AE::ISceneNode* node, bool on)
{
    if (!node)
        return;
    node->setEnabled(on);
    for (AE::ISceneNode* child : node->children)
        setTreeEnabled(child, on);
}

void showUserPhoto(AE::ISceneNode* photoNode, SocialUser* user)
{
    auto* node = dynamic_cast<AE::SpriteSceneNode*>(photoNode);
    auto* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr();
    if (!node || !user || !sprites)
        return;
    VQ::Sprite* copy = nullptr;
    {
        std::lock_guard guard(user->lock);
        if (user->photo)
            copy = sprites->cloneSprite(user->photo);
    }
    if (!copy)
        return;
    const VQ::Vector2f size = node->getSize();
    if (size.x > 0.0f && size.y > 0.0f)
        copy->setSize(size);
    node->setSprite(copy);
}

// --- CheckBoxListener ---

AE::ISceneNode* CheckBoxListener::rowCheck(VQ::UISceneListItem* item) const
{
    auto* row = dynamic_cast<MarkedRow*>(item);
    return row ? row->check : nullptr;
}

void CheckBoxListener::refreshPhotos()
{
    if (!list)
        return;
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    if (!integration || !integration->loggedIn) {
        list->clearItems();
        return;
    }
    for (VQ::UISceneListItem* item : list->items)
        if (auto* row = dynamic_cast<MarkedRow*>(item))
            row->refreshPhoto();
}

void CheckBoxListener::onCheckChanged(bool checked)
{
    (void)checked;
    if (busy)
        return;
    busy = true;
    bool all = true;
    if (list)
        for (VQ::UISceneListItem* item : list->items) {
            AE::ISceneNode* check = rowCheck(item);
            if (!check || !check->enabled) {
                all = false;
                break;
            }
        }
    setTreeEnabled(thumb, all);
    busy = false;
}

void CheckBoxListener::toggleAll()
{
    if (busy)
        return;
    busy = true;
    const bool on = !(thumb && thumb->enabled);
    setTreeEnabled(thumb, on);
    if (list)
        for (VQ::UISceneListItem* item : list->items) {
            setTreeEnabled(rowCheck(item), on);
            onCheckChanged(on);
        }
    busy = false;
}

void attachRequestList(DialogWindow& window, CheckBoxListener& parts)
{
    parts.list = dynamic_cast<VQ::UISceneList*>(window.requireWidget("requests_list"));
    parts.thumb = window.sceneNode("#thumb");
    if (!parts.thumb && parts.list && parts.list->scene)
        parts.thumb = parts.list->scene->findNode("#thumb");
}

void toggleRowMark(AE::ISceneNode* check, CheckBoxListener* owner)
{
    if (!check)
        return;
    const bool on = !check->enabled;
    setTreeEnabled(check, on);
    if (owner)
        owner->onCheckChanged(on);
}

// --- The rows ---

MarkedRow::MarkedRow(const std::string& sceneName, const std::string& itemName, CheckBoxListener* owner) :
    VQ::UISceneListItem(sceneName, itemName), owner(owner)
{
    check = itemNode(*this, "#check");
    addListener(this);
}

void MarkedRow::onElementClicked(VQ::UISceneListItem* item, const std::string& element)
{
    (void)item, (void)element;
    toggleRowMark(check, owner);
}

RequestItem::RequestItem(const SocialRequest& request, CheckBoxListener* owner) :
    MarkedRow("request_item_xml", "request_" + request.id, owner),
    senderId(request.senderId),
    senderName(request.senderName),
    requestId(request.id)
{
    pugi::xml_document document;
    if (document.load_string(request.params.c_str())) {
        const pugi::xml_node params = document.child("params");
        kind = params.attribute("type").as_string();
        value = params.attribute("value").as_int(0);
    }
    refreshPhoto();
    setTextSlotLocalized("title", true);
    setTextSlot("title", VQ::utf8ToWide("HELP_FROM_FRIEND_TITLE"));
    std::string description;
    if (kind == "takeLife") {
        setIcon(*this, "s_present_heart_window_pochta_psd");
        description = "HELP_FROM_FRIEND_DESC_HEART";
    } else if (kind == "takeSteps") {
        setIcon(*this, "s_present_steps_window_pochta_psd");
        description = "HELP_FROM_FRIEND_DESC_STEPS";
    }
    setTextSlotLocalized("text", false);
    const SocialUser* sender = knownUser(senderId);
    setTextSlot("text", description.empty() ? std::u16string()
                                            : withFirstName(description, sender ? sender->firstName : senderName));
}

void RequestItem::refreshPhoto()
{
    showUserPhoto(itemNode(*this, "#photo"), knownUser(senderId));
}

void RequestItem::accept()
{
    MainMode* mode = nullptr;
    if (GameProperties* properties = GameProperties::instancePtr())
        if (const auto found = properties->modes.find("MainMode"); found != properties->modes.end())
            mode = dynamic_cast<MainMode*>(found->second.get());
    if (mode && kind == "takeLife")
        mode->addLife();
    else if (mode && kind == "takeSteps")
        mode->extraMoves = 3;
    accepted = true;
}

// --- HelpItem ---

HelpItem::HelpItem(CheckBoxListener* owner, SocialUser* user) :
    MarkedRow("request_item_xml", "help_" + (user ? user->idText : std::string()), owner), user(user)
{
    setTextSlotLocalized("title", false);
    setTextSlot("title", withFirstName("HELP_FOR_FRIEND_TITLE", user ? user->firstName : std::u16string()));
    setTextSlotLocalized("text", false);
    setTextSlot("text", localizedText("HELP_FOR_FRIEND_TEXT"));
    setIcon(*this, "s_present_steps_window_pochta_psd");
    refreshPhoto();
}

void HelpItem::refreshPhoto()
{
    showUserPhoto(itemNode(*this, "#photo"), user);
}

// --- UserItem ---

UserItem::UserItem(SocialUser* user, int score, bool leader, bool side) :
    VQ::UISceneListItem(side ? "user_item_left_xml" : "user_item_bottom_xml",
                        "user_" + (user ? user->idText : std::string()))
{
    showUserPhoto(itemNode(*this, "#photo"), user);
    setTextSlotLocalized("name", false);
    setTextSlot("name", user ? user->firstName : std::u16string());
    setTextSlotLocalized("score", false);
    setTextSlot("score", VQ::utf8ToWide(std::to_string(score)));
    if (scene)
        if (AE::Marker* marker = scene->getMarker(leader ? "leader" : "not_leader"))
            marker->start(true);
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    if (integration && user == &integration->currentUser) {
        setTreeEnabled(itemNode(*this, "#heart"), false);
        setTreeEnabled(itemNode(*this, "#check"), false);
    }
}

void UserItem::setRequestSent(bool sent)
{
    setTreeEnabled(itemNode(*this, "#heart"), !sent);
    setTreeEnabled(itemNode(*this, "#check"), sent);
}

// --- UserItemController ---

UserItemController::UserItemController(bool sent, int score, SocialUser* user, bool leader) :
    user(user),
    side(std::make_unique<UserItem>(user, score, leader, true)),
    bottom(std::make_unique<UserItem>(user, score, leader, false)),
    sideRow(side.get()),
    bottomRow(bottom.get()),
    requestSent(sent)
{
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    const bool isPlayer = integration && user == &integration->currentUser;
    if (isPlayer || !user)
        return;
    sideRow->setRequestSent(sent);
    bottomRow->setRequestSent(sent);
    sideRow->addListener(this);
    bottomRow->addListener(this);
}

UserItemController::~UserItemController()
{
    if (FacebookMessageDispatcher* bus = FacebookMessageDispatcher::instancePtr())
        bus->removeListener(this);
}

void UserItemController::onElementClicked(VQ::UISceneListItem* item, const std::string& element)
{
    (void)item, (void)element;
    if (requestSent)
        return;
    requestSent = true;
    preparedParams = makeRequestParams("takeLife");
    preparedMessage = VQ::wideToUtf8(localizedText("SEND_LIFE_REQUEST_TEXT"));
    if (FacebookMessageDispatcher* bus = FacebookMessageDispatcher::instancePtr())
        bus->addListener(this);
    requestId = 0;
}

void UserItemController::onMessage(const SocialMessage* message)
{
    const int32_t type = message->type;
    if ((type != SOCIAL_REQUEST_SENT && type != SOCIAL_REQUEST_FAILED && type != SOCIAL_REQUEST_FAILED_2) ||
        message->requestId != requestId)
        return;
    if (type == SOCIAL_REQUEST_SENT) {
        sideRow->setRequestSent(requestSent);
        bottomRow->setRequestSent(requestSent);
        GameProperties* properties = GameProperties::instancePtr();
        if (PlayerProfile* player = properties ? properties->profile() : nullptr)
            if (FriendRequestEntry* entry = user ? player->findFriendEntry(user->id) : nullptr)
                entry->time = currentTime();
    } else {
        requestSent = false;
    }
    if (FacebookMessageDispatcher* bus = FacebookMessageDispatcher::instancePtr())
        bus->removeListener(this);
}
