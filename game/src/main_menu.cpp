#include "main_menu.h"

#include <memory>

#include "dialogs/confirm_window.h"
#include "dialogs/facebook_message_wnd.h"
#include "facebook_integration.h"
#include "dialogs/options_window.h"
#include "function.h"
#include "input_manager.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "job_manager.h"
#include "lex_binded_function_manager.h"
#include "log_system.h"
#include "mode.h"
#include "platform/window_sdl.h"
#include "animationeditor/mesh_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "application.h"
#include "scene_layout.h"
#include "shell.h"
#include "ui/ui_manager.h"
#include "ui/ui_scene_node.h"
#include "ui/ui_widget.h"
#include "utils.h"

namespace {

using Binder = VQ::LexBinder<MainMenu>;

// The product's copyright line.
const std::u16string COPYRIGHT = u"\u00a9 Carrowmere";

// Registered by each build and removed by each unload.
const char* const COMMANDS[] = {"exit", "activateMode", "showOptions", "connectFacebook", "showPartner"};

constexpr int VK_ESCAPE = 0x1B;

}  // namespace

MainMenu::MainMenu()
{
    if (FacebookMessageDispatcher* dispatcher = FacebookMessageDispatcher::instancePtr())
        dispatcher->addListener(this);
}

MainMenu::~MainMenu()
{
    if (isLoaded())
        release();
    VQ::log("MainMenu::~MainMenu()");
}

void MainMenu::load()
{
    VQ::log("MainMenu::load");
    initializeAsync();
}

void MainMenu::initializeAsync()
{
    VQ::log("void MainMenu::initializeAsync() -begin");
    VQ::JobManager::instance()->addJob(std::make_unique<VQ::Function<MainMenu>>(this, &MainMenu::initialize))->start();
    VQ::log("void MainMenu::initializeAsync() -end");
}

void MainMenu::initialize()
{
    VQ::log("void MainMenu::initialize() -begin");
    onActivate();
    setLoaded(true);
    VQ::log("void MainMenu::initialize() -end");
}

void MainMenu::onActivate()
{
    VQ::LexBindedFunctionManager* functions = VQ::LexBindedFunctionManager::instance();
    functions->registerFunction("exit", std::make_unique<Binder>(this, &MainMenu::exit));
    functions->registerFunction("activateMode", std::make_unique<VQ::LexBinder1<std::string, MainMenu>>(
                                                    this, &MainMenu::activateMode));
    functions->registerFunction("showOptions", std::make_unique<Binder>(this, &MainMenu::showOptions));
    functions->registerFunction("connectFacebook", std::make_unique<Binder>(this, &MainMenu::connectFacebook));
    functions->registerFunction("showPartner", std::make_unique<Binder>(this, &MainMenu::showPartner));
    root = VQ::UIManager::instance()->loadUI("main_menu_ui", "MainMenu", nullptr, "default");
    AE::convertMeshNodes(rootScene());
    root->show();
    setConnectButton(false);
    exitQuestion = new ConfirmWindow("ExitQuestionWindow", "exit_question_window_ui");
    exitQuestion->addListener(this);
    AE::ISceneNode* scene = rootScene();
    if (auto* version = dynamic_cast<AE::TextSceneNode*>(scene ? scene->findNode("#version") : nullptr))
        version->setText(VQ::versionString());
    applyOrientation(GameStateManager::instance()->isPortrait());
    if (auto* copyright = dynamic_cast<AE::TextSceneNode*>(scene ? scene->findNode("#copyright") : nullptr)) {
        copyright->setEnabled(true);
        copyright->rawText = COPYRIGHT;
        copyright->updateText();
    }
    if (AE::ISceneNode* partner = scene ? scene->findNode("#btnPartner") : nullptr)
        partner->setEnabled(false);
}

AE::ISceneNode* MainMenu::rootScene() const
{
    auto* host = dynamic_cast<VQ::UISceneNode*>(root);
    return host ? host->node : nullptr;
}

void MainMenu::setConnectButton(bool visible)
{
    VQ::UIWidget* button = root ? root->findChild("btnFacebook") : nullptr;
    AE::ISceneNode* scene = rootScene();
    AE::ISceneNode* backing = scene ? scene->findNode("s_bt_f_pdloja_bkg_psd") : nullptr;
    if (!button || !backing)
        return;
    button->setVisible(visible);
    backing->setEnabled(visible);
}

void MainMenu::onDeactivate()
{
    if (isLoaded())
        unload();
}

void MainMenu::unload()
{
    if (!isLoaded())
        return;
    release();
    setLoaded(false);
}

void MainMenu::release()
{
    VQ::UIManager* ui = VQ::UIManager::instance();
    ui->hideAllForcibly();
    ui->removeRoot(root);
    root = nullptr;
    VQ::LexBindedFunctionManager* functions = VQ::LexBindedFunctionManager::instance();
    for (const char* name : COMMANDS)
        functions->unregisterFunction(name);
    if (exitQuestion) {
        exitQuestion->removeListener(this);
        exitQuestion->removalMark = true;
        exitQuestion = nullptr;
    }
}

void MainMenu::update(float dt)
{
    (void)dt;
    const VQ::InputManager* input = VQ::InputManager::instancePtr();
    const VQ::KeyboardDevice* keyboard = input ? input->keyboard() : nullptr;
    if (!isLoaded() || !keyboard || !exitQuestion)
        return;
    if ((keyboard->previous[VK_ESCAPE] & 0x80) && !(keyboard->current[VK_ESCAPE] & 0x80))
        exitQuestion->show(true);
}

void MainMenu::draw()
{
    if (isLoaded())
        VQ::UIManager::instance()->render();
}

void MainMenu::applyOrientation(bool portrait)
{
    (void)portrait;
    if (!root)
        return;
    applySceneNodeLayout(rootScene());
    for (VQ::UIWidget* child : root->children)
        applyWidgetLayout(child);
}

void MainMenu::onMessage(const SocialMessage* message)
{
    if (message->type == SOCIAL_LOGGED_IN)
        setConnectButton(false);
    else if (message->type == SOCIAL_LOGGED_OUT || message->type == SOCIAL_LOGIN_FAILED)
        setConnectButton(true);
}

void MainMenu::exit()
{
    if (exitQuestion)
        exitQuestion->show(true);
}

void MainMenu::onHidden(DialogWindow* window)
{
    if (window == exitQuestion && exitQuestion->result == ConfirmWindow::ACCEPTED)
        application()->quit();
}

void MainMenu::activateMode(std::string name)
{
    GameProperties* properties = GameProperties::instance();
    const auto found = properties->modes.find(name);
    if (found == properties->modes.end() || !found->second) {
        VQ::log(VQ::formatString("WARNING: there is no game mode %s", name.c_str()));
        return;
    }
    found->second->activate();
}

void MainMenu::showOptions()
{
    if (OptionsWindow* options = OptionsWindow::instancePtr())
        options->open();
}

void MainMenu::connectFacebook()
{
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    if (!integration || integration->loggedIn)
        return;
    setConnectButton(false);
    if (OptionsWindow* options = OptionsWindow::instancePtr()) {
        FacebookMessageWnd* window = options->messageWindow;
        window->setMode(window->waitMode, FacebookMessageWnd::WAITING);
        window->show(false);
    }
    integration->openSession();
}

void MainMenu::showPartner() {}
