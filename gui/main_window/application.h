#pragma once

#include <QApplication>

// Shows whatever escapes an event handler in the standard error box; the
// program goes on with the next event.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
