#include "controls/tray/tray_icon.h"

#include <QCursor>
#include <QIcon>
#include <QSystemTrayIcon>

#include "platform/vcl/core/text.h"

using namespace vcl;

struct TTrayIcon::Peer {
    QSystemTrayIcon Icon;
};

TTrayIcon::TTrayIcon(TComponent* AOwner) : TComponent(AOwner), FPeer(std::make_unique<Peer>()) {
    QObject::connect(&FPeer->Icon, &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         Guarded([&] {
                             switch (reason) {
                             case QSystemTrayIcon::Trigger:
                                 LeftButtonUp();
                                 break;
                             case QSystemTrayIcon::DoubleClick:
                                 DoubleClick();
                                 break;
                             case QSystemTrayIcon::Context: {
                                 const QPoint at = QCursor::pos();
                                 RightButtonUp(at.x(), at.y());
                                 break;
                             }
                             default:
                                 break;
                             }
                         });
                     });
}

TTrayIcon::~TTrayIcon() {
    FPeer->Icon.hide();
}

void TTrayIcon::SetActive(bool value) {
    if (value == FActive)
        return;
    FActive = value;
    FPeer->Icon.setVisible(value);
}

void TTrayIcon::SetIconFile(const std::string& path) {
    FPeer->Icon.setIcon(QIcon(QString::fromStdString(path)));
}

void TTrayIcon::SetToolTip(const std::string& value) {
    FToolTip = value.substr(0, 62);
    FPeer->Icon.setToolTip(QString::fromStdString(DisplayText(FToolTip)));
}

namespace {
std::function<bool()>& AreaProbe() {
    static std::function<bool()> probe;
    return probe;
}
} // namespace

void TTrayIcon::SetAreaProbe(std::function<bool()> probe) {
    AreaProbe() = std::move(probe);
}

bool TTrayIcon::Available() const {
    if (!FActive)
        return false;
    return AreaProbe() ? AreaProbe()() : QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::LeftButtonUp() {
    if (OnClick)
        OnClick(this);
}

void TTrayIcon::DoubleClick() {
    // Qt reports the first click of a double click on its own; the second one follows it.
    if (OnDblClick)
        OnDblClick(this);
    if (OnClick)
        OnClick(this);
}

void TTrayIcon::RightButtonUp(int screenX, int screenY) {
    if (FPopupMenu)
        FPopupMenu->Popup(screenX, screenY);
    if (OnRightClick)
        OnRightClick(this, mbRight, 0, screenX, screenY);
}
