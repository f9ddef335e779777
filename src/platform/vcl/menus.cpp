#include "platform/vcl/menus.h"

#include "platform/vcl/peers.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace vcl {

struct TMenuItem::Peer {
    QAction Action;
    std::unique_ptr<QMenu> SubMenu;
};

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {
    detail::EnsureQtApplication();
    FPeer = std::make_unique<Peer>();
    QObject::connect(&FPeer->Action, &QAction::triggered, [this] { Guarded([this] { Click(); }); });
}

TMenuItem::~TMenuItem() {
    if (FParent)
        FParent->Remove(this);
    for (TMenuItem* item : FItems)
        item->FParent = nullptr;
    FItems.clear();
}

void* TMenuItem::Action() const {
    return &FPeer->Action;
}

void TMenuItem::SetCaption(const std::string& value) {
    FCaption = value;
    ApplyState();
    if (FParent)
        FParent->Rebuild();
}

void TMenuItem::SetEnabled(bool value) {
    FEnabled = value;
    ApplyState();
}

void TMenuItem::SetVisible(bool value) {
    FVisible = value;
    ApplyState();
}

void TMenuItem::SetChecked(bool value) {
    FChecked = value;
    ApplyState();
}

void TMenuItem::SetDefault(bool value) {
    FDefault = value;
    ApplyState();
}

void TMenuItem::ApplyState() {
    QAction& action = FPeer->Action;
    action.setSeparator(IsLine());
    action.setText(detail::ToQString(FCaption));
    action.setEnabled(FEnabled);
    action.setVisible(FVisible);
    action.setCheckable(FChecked);
    action.setChecked(FChecked);
    QFont font = action.font();
    font.setBold(FDefault);
    action.setFont(font);
}

void TMenuItem::Add(TMenuItem* item) {
    if (!item || item == this)
        return;
    if (item->FParent)
        item->FParent->Remove(item);
    item->FParent = this;
    FItems.push_back(item);
    // A sub-item removed by its destruction must leave this list.
    FreeNotification(item);
    Rebuild();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    item->FParent = nullptr;
    Rebuild();
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove)
        if (auto* item = dynamic_cast<TMenuItem*>(AComponent);
            item && std::find(FItems.begin(), FItems.end(), item) != FItems.end())
            Remove(item);
}

void TMenuItem::Rebuild() {
    if (FItems.empty()) {
        FPeer->Action.setMenu(nullptr);
        FPeer->SubMenu.reset();
        return;
    }
    if (!FPeer->SubMenu) {
        FPeer->SubMenu = std::make_unique<QMenu>();
        if (FParent)
            FPeer->Action.setMenu(FPeer->SubMenu.get());
    }
    QMenu* menu = FPeer->SubMenu.get();
    menu->clear();
    for (TMenuItem* item : FItems)
        menu->addAction(&item->FPeer->Action);
}

void TMenuItem::Click() {
    if (OnClick)
        OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup)
        OnPopup(this);
    if (FItems->Count() == 0)
        return;
    FItems->Rebuild();
    if (auto* menu = FItems->FPeer->SubMenu.get())
        menu->exec(QPoint(X, Y));
}

} // namespace vcl
