#pragma once

class QDialog;

// The frame the identification and about windows share: a fixed dialog
// border with only the system menu, at the size of the designed form.
void makeFixedDialog(QDialog& dialog);

// Places the window in the centre of its screen; called on every show, as the
// window is reused and may have been moved in between.
void centreOnScreen(QDialog& dialog);
