// Keeps the keyboard where a user expects it, with or without a window
// manager.
//
// A window manager makes a window active when it is clicked, and gives the
// keyboard back to the window a dialog belonged to when the dialog closes.
// Without one (kiosk sessions, some remote desktops, a bare X server) nothing
// does: after a dialog or message box no window of the program has the
// keyboard, and clicking the main window does not give it back, so typing
// lands nowhere. The keeper does what the window manager would:
//  - when a dialog or message box is hidden, the window it returns to (the
//    modal dialog still open, else the window that owns it, else the main
//    window) is made active again, and the toolkit gives the keyboard back to
//    the widget of that window that had it;
//  - a press of a mouse button in a window of the program that is not active
//    makes it active.
// With a window manager these requests ask for what the manager does anyway.
#pragma once

#include <QString>

// Installs the keeper on the application once; later calls do nothing.
// `mainWindowTitle` is the title of the window dialogs without an owner
// return to.
void InstallFocusKeeper(const QString& mainWindowTitle);

// Whether a window manager manages the windows of the program's display.
// On X11 this asks the display for an EWMH window manager; a compositor
// (Wayland) manages its windows itself; the offscreen and minimal platforms
// have none.
bool WindowManagerIsRunning();
