// Internal to the component layer: screen updates paced to the display. Controls whose content
// changes more often than the screen refreshes (level bars and spectrum frames every 10 ms) ask
// for a frame instead of an immediate update; their state still changes on every call.
#pragma once

class QWidget;

namespace vcl::detail {

// Updates `widget` now when no frame was presented within the last display frame, else at the
// next frame, together with every other widget that asked meanwhile.
void RequestFrame(QWidget* widget);

} // namespace vcl::detail
