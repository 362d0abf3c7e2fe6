#include "fixed_dialog.h"

#include <QDialog>
#include <QScreen>

void makeFixedDialog(QDialog& dialog)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(dialog.size());
}

void centreOnScreen(QDialog& dialog)
{
    const QWidget* owner = dialog.parentWidget();
    const QScreen* screen = owner ? owner->screen() : dialog.screen();
    if (!screen)
        return;
    // move() places the frame, title bar included.
    const QSize frame = dialog.frameGeometry().size();
    dialog.move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    // Like QDialog itself: not a position of the user's choosing.
    dialog.setAttribute(Qt::WA_Moved, false);
}
