// An icon in the desktop's notification area with a tool tip, click events and the window-set
// menu on a right-button release. Desktops without a notification area report
// Available() == false, so the program can keep its windows reachable.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/vcl/controls.h"
#include "platform/vcl/menus.h"

class TTrayIcon : public vcl::TComponent {
public:
    explicit TTrayIcon(vcl::TComponent* AOwner);
    ~TTrayIcon() override;

    bool Active() const { return FActive; }
    // Adds the icon to the notification area (true) or removes it (false).
    void SetActive(bool value);
    // Loads the icon's picture from an image file (PNG, ...).
    void SetIconFile(const std::string& path);
    const std::string& ToolTip() const { return FToolTip; }
    // Longer texts are cut to their first 62 characters.
    void SetToolTip(const std::string& value);
    vcl::TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(vcl::TPopupMenu* value) { FPopupMenu = value; }

    // True when a notification area exists and the icon is in it.
    bool Available() const;
    // Replaces the question "does the desktop have a notification area?" (tests run on
    // platforms without one); an empty function asks the desktop again.
    static void SetAreaProbe(std::function<bool()> probe);

    vcl::TNotifyEvent OnClick;
    vcl::TNotifyEvent OnDblClick;
    vcl::TMouseEvent OnRightClick;

    // What the notification area reports; public so the peer and tests can drive it.
    void LeftButtonUp();
    void DoubleClick();
    void RightButtonUp(int screenX, int screenY);

private:
    struct Peer;
    std::unique_ptr<Peer> FPeer;
    bool FActive = false;
    std::string FToolTip;
    vcl::TPopupMenu* FPopupMenu = nullptr;
};
