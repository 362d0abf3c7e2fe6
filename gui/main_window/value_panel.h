#pragma once

#include <QLabel>

// A panel of the main window that shows one measured value. Assistive
// technology reads its caption as the name and the number it shows as its
// text (and value), and is told when the number changes.
class ValuePanel : public QLabel {
    Q_OBJECT
public:
    ValuePanel(const QString& caption, QWidget* parent);

    void showValue(const QString& text);
};
