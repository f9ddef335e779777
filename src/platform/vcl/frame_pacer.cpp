#include "platform/vcl/frame_pacer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace vcl::detail {

namespace {

class FramePacer {
public:
    FramePacer() {
        FTimer.setSingleShot(true);
        // Coarse, so the frame can share a wake-up with the player's own timers.
        FTimer.setTimerType(Qt::CoarseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Present(); });
    }

    void Request(QWidget* widget) {
        // Everything asked for during one tick goes out together in one pass, at the next
        // frame boundary (at once when the last frame is old enough).
        if (std::find(FPending.begin(), FPending.end(), widget) == FPending.end())
            FPending.emplace_back(widget);
        if (FTimer.isActive())
            return;
        const qint64 wait =
            FLastFrame.isValid() ? std::max<qint64>(0, FrameMs() - FLastFrame.elapsed()) : 0;
        FTimer.start(static_cast<int>(wait));
    }

private:
    void Present() {
        FLastFrame.start();
        std::vector<QPointer<QWidget>> pending;
        pending.swap(FPending);
        for (const QPointer<QWidget>& widget : pending)
            if (widget)
                widget->update();
    }

    static qint64 FrameMs() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double hz = screen ? screen->refreshRate() : 60.0;
        return static_cast<qint64>(1000.0 / std::clamp(hz, 30.0, 240.0));
    }

    QTimer FTimer;
    QElapsedTimer FLastFrame;
    std::vector<QPointer<QWidget>> FPending;
};

} // namespace

void RequestFrame(QWidget* widget) {
    if (!widget || !widget->isVisible())
        return; // a hidden widget is painted afresh when shown
    static FramePacer pacer;
    pacer.Request(widget);
}

} // namespace vcl::detail
