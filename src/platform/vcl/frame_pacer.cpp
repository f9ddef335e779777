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
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Present(); });
    }

    void Request(QWidget* widget) {
        const qint64 frame = FrameMs();
        if (!FLastFrame.isValid() || FLastFrame.elapsed() >= frame) {
            FLastFrame.start();
            widget->update();
            return;
        }
        if (std::find(FPending.begin(), FPending.end(), widget) == FPending.end())
            FPending.emplace_back(widget);
        if (!FTimer.isActive())
            FTimer.start(static_cast<int>(std::max<qint64>(0, frame - FLastFrame.elapsed())));
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
