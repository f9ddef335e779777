// Pop-up menus (the tray menu): items with captions and click handlers; "-" is a separator.
#pragma once

#include "platform/vcl/controls.h"

#include <memory>
#include <vector>

namespace vcl {

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    // "-" makes the item a separator.
    void SetCaption(const std::string& value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool IsLine() const { return FCaption == "-"; }

    // Sub-items (the menu's root item holds the top-level entries). Not owned: their owner
    // (usually the form) destroys them.
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<std::size_t>(index)); }
    TMenuItem* Parent() const { return FParent; }

    // Runs OnClick directly.
    virtual void Click();

    TNotifyEvent OnClick;

    // The item's Qt action (for the layer's peers).
    void* Action() const;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TPopupMenu;
    struct Peer;
    void Rebuild();
    void ApplyState();
    std::string FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FDefault = false;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    std::unique_ptr<Peer> FPeer;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TMenuItem& Items() { return *FItems; }
    // Shows the menu at screen point (X, Y) and returns when it closes; the chosen item's
    // OnClick has run by then. Timers keep ticking meanwhile.
    virtual void Popup(int X, int Y);

    TNotifyEvent OnPopup;

private:
    std::unique_ptr<TMenuItem> FItems;
};

} // namespace vcl
