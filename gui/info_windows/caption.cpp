#include "caption.h"

#include <QLabel>

void setCaption(QLabel& label, const QString& caption, const QString& roleWhenEmpty)
{
    label.setText(caption);
    label.setAccessibleName(caption.isEmpty() ? roleWhenEmpty : caption);
}
