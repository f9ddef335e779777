// Orvanta: start-up. The six windows are created hidden, main window first, and the event loop
// shows the main window.
#include "app/startup.h"
#include "platform/vcl/application.h"

int main() {
    vcl::TApplication application;
    CreatePlayerWindows(application);
    application.Run();
    return 0;
}
