#pragma once

// Start-up and the process-wide single instances.
namespace mdlMain {

// Creates and resets the application object, then shows the main window.
void Main();
// Releases the window and the application object before Qt goes.
void End();

} // namespace mdlMain
