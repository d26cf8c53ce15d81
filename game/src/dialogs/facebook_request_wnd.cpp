#include "dialogs/facebook_request_wnd.h"

#include "animationeditor/scene_node.h"
#include "facebook_integration.h"
#include "ui/ui_widget.h"

FacebookRequestWnd::FacebookRequestWnd() : DialogWindow("requests_wnd_ui", "RequestsWnd", "gui")
{
    attachRequestList(*this, *this);
    bindButton("btnOk", this, &FacebookRequestWnd::ok);
    bindButton("btnSelectAll", this, &FacebookRequestWnd::selectAll);
    bindButton("btnClose", this, &FacebookRequestWnd::close);
}

void FacebookRequestWnd::setRequests(const std::vector<SocialRequest>& requests)
{
    if (!list)
        return;
    list->clearItems();
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    for (const SocialRequest& request : requests)
        if (integration && integration->findUser(request.senderId))
            list->addItem(new RequestItem(request, this));
}

void FacebookRequestWnd::acceptChecked()
{
    if (!list)
        return;
    size_t i = 0;
    while (i < list->items.size()) {
        auto* row = dynamic_cast<RequestItem*>(list->items[i]);
        if (row && row->check && row->check->enabled) {
            row->accept();
            if (row->accepted) {
                list->removeItem(row);
                delete row;
                continue;
            }
        }
        ++i;
    }
}

void FacebookRequestWnd::ok()
{
    acceptChecked();
    hide();
}
