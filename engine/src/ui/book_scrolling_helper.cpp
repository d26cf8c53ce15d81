#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "animationeditor/scene_node.h"
#include "log_system.h"
#include "ui/scrolling_helper.h"
#include "ui/ui_scene_list.h"

namespace VQ {

namespace {

void enableChildren(AE::ISceneNode* node)
{
    node->visible = true;
    for (AE::ISceneNode* child : node->children)
        child->setEnabled(true);
}

}  // namespace

void BookScrollingHelper::Button::setState(int newState)
{
    if (newState == state)
        return;
    changeSceneButtonState(node, state, newState, true);
    state = newState;
    if (newState != SCENE_PRESSED)
        return;
    if (node->name == "#btn_next")
        helper->nextPage();
    else if (node->name == "#btn_prev")
        helper->previousPage();
    else if (node->name == "#btn_begin")
        helper->goToPage(0);
    else if (node->name == "#btn_end")
        helper->goToPage(helper->lastPage());
}

BookScrollingHelper::PageBar::PageBar(AE::ISceneNode* bar) : barNode(bar)
{
    for (int id = 1;; ++id) {
        AE::ISceneNode* node = barNode->findNode(formatString("#page%d", id));
        if (!node)
            break;
        pages.push_back(std::make_unique<Page>(Page{node, 0, id}));
    }
    enableChildren(barNode);
    showPage(0);
}

void BookScrollingHelper::PageBar::showPage(int page)
{
    if (AE::Marker* marker = barNode->requireMarker(formatString("#page%d", page + 1)))
        marker->start(true);
    currentPage = page;
}

void BookScrollingHelper::PageBar::input(const UIPointer& pointer, BookScrollingHelper& helper)
{
    auto setState = [](Page& page, int state) {
        if (state == page.state)
            return;
        changeSceneButtonState(page.node, page.state, state, true);
        page.state = state;
    };
    if (activePage) {
        Page& page = *activePage;
        if (sceneNodeHit(page.node, pointer.cursor)) {
            if (pointer.leftDown) {
                setState(page, SCENE_PRESSED);
            } else if (page.state == SCENE_PRESSED) {
                setState(page, SCENE_SELECT);
                helper.goToPage(page.id - 1);
            }
        } else if (!pointer.leftDown) {
            setState(page, SCENE_REGULAR);
            activePage = nullptr;
        }
        return;
    }
    for (const auto& page : pages)
        if (sceneNodeHit(page->node, pointer.cursor)) {
            setState(*page, SCENE_SELECT);
            activePage = page.get();
            return;
        }
}

BookScrollingHelper::BookScrollingHelper(UISceneList* list, AE::ISceneNode* scene) : ScrollingHelper(list)
{
    pageLength = list->along(list->maskSize);
    if (AE::ISceneNode* bar = scene->findNode("#page_bar"))
        pageBar = std::make_unique<PageBar>(bar);
    if (AE::ISceneNode* strip = scene->findNode("#scroll_bar"))
        strip->setEnabled(false);
    for (const char* name : {"#btn_next", "#btn_prev", "#btn_begin", "#btn_end"}) {
        AE::ISceneNode* node = scene->findNode(name);
        if (!node)
            continue;
        enableChildren(node);
        buttons.push_back(std::make_unique<Button>(Button{this, node, 0}));
    }
    for (const auto& marker : list->listNode->markers) {
        const std::string& n = marker->name;
        if (n.rfind("#listTime:", 0) == 0)
            listTime = std::strtof(n.c_str() + 10, nullptr);
        else if (n.rfind("#toScrolling:", 0) == 0)
            toScrolling = std::strtof(n.c_str() + 13, nullptr);
    }
}

BookScrollingHelper::~BookScrollingHelper() = default;

float BookScrollingHelper::pagesScrolled() const
{
    return pageLength != 0.0f ? -list->scrollPosition() / pageLength : 0.0f;
}

int BookScrollingHelper::lastPage() const
{
    // A page of no length: everything is one page.
    return pageLength != 0.0f ? int(0.5f - list->minScroll / pageLength) : 0;
}

void BookScrollingHelper::startAnimation()
{
    animRemaining = std::fabs(currentPage - targetPage) * listTime;
}

void BookScrollingHelper::goToPage(int page)
{
    currentPage = pagesScrolled();
    targetPage = float(page >= lastPage() ? lastPage() : page);
    startAnimation();
}

void BookScrollingHelper::nextPage()
{
    currentPage = pagesScrolled();
    targetPage = float(std::min(int(1.0f - toScrolling + currentPage) + 1, lastPage()));
    startAnimation();
}

void BookScrollingHelper::previousPage()
{
    currentPage = pagesScrolled();
    targetPage = float(std::max(int(1.0f - toScrolling + currentPage) - 1, 0));
    startAnimation();
}

void BookScrollingHelper::update(float dt)
{
    const UIPointer pointer = currentPointer();
    for (const auto& button : buttons) {
        if (sceneNodeHit(button->node, pointer.cursor)) {
            button->setState(pointer.leftDown ? SCENE_PRESSED : SCENE_SELECT);
            break;
        }
        if (!pointer.leftDown)
            button->setState(SCENE_REGULAR);
    }
    if (!list->needsScrolling())
        return;
    if (list->scrollFlags & 2u)
        dragStep(pointer);
    if (!dragging)
        animationStep(dt);
    if (pageBar)
        pageBar->showPage(int(1.0f - toScrolling + pagesScrolled()));
    if (!dragging && pageBar)
        pageBar->input(pointer, *this);
}

void BookScrollingHelper::dragStep(const UIPointer& pointer)
{
    if (!dragging) {
        if (pointer.leftDown && list->pointerDragging) {
            pressPoint = pointer.pressPoint;
            dragStartPosition = Vector2f(list->listNode->posX, list->listNode->posY);
            dragging = list->insideMask(pressPoint);
        }
        return;
    }
    if (pointer.leftDown) {
        const float moved = list->along(pointer.cursor) - list->along(pressPoint);
        list->setScrollPositionClamped(list->along(dragStartPosition) + moved);
        return;
    }
    currentPage = pagesScrolled();
    targetPage = float(int(currentPage + 1.0f - toScrolling));
    dragging = false;
    animRemaining = listTime;
}

void BookScrollingHelper::animationStep(float dt)
{
    if (animRemaining <= 0.0f)
        return;
    animRemaining = std::max(animRemaining - dt, 0.0f);
    const float span = std::max(std::fabs(currentPage - targetPage), 1.0f) * listTime;
    const float k = span > 0.0f ? animRemaining / span : 0.0f;
    list->setScrollPosition(-pageLength * (targetPage - k * (targetPage - currentPage)));
}

void BookScrollingHelper::wheel(bool up)
{
    if (dragging || !(list->scrollFlags & 1u) || !list->insideMask(currentPointer().cursor))
        return;
    if (up)
        nextPage();
    else
        previousPage();
}

}  // namespace VQ
