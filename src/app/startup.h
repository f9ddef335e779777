// Bringing the player up: the program and its tests create the window set the same way.
#pragma once

namespace vcl {
class TApplication;
}

// Sets the title and creates the six windows hidden, main window first: the settings window
// copies the main window's lists when it is created, so that one must be complete before it.
void CreatePlayerWindows(vcl::TApplication& application);
