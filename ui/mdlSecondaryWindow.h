#pragma once

class QDialog;
class QIcon;
class QLabel;

// What the program's small windows beside the main window share.
namespace mdlSecondaryWindow {

// A fixed dialog border with a close box only, the program's caption and
// icon, and destruction on every close, so that no timer or state outlives
// the window and the next showing starts afresh. Shown with the main window
// as parent, it stays out of the taskbar.
void Prepare(QDialog& oWindow);

// oIcon drawn to fill the picture box oPicture, at the screen's pixel ratio.
void ShowIcon(QLabel& oPicture, const QIcon& oIcon);

} // namespace mdlSecondaryWindow
