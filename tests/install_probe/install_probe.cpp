// Loaded by the install test into the installed program (through
// QT_QPA_GENERIC_PLUGINS), it reports from inside the running program what it
// found of its pictures, its version and Qt's Czech translation, then ends it.
#include <QApplication>
#include <QGenericPlugin>
#include <QLabel>
#include <QTimer>

#include <cstdio>

namespace {

QWidget* topLevel(QLatin1StringView name)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

bool pictureShown(QWidget& window)
{
    const auto* picture = window.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
    return picture && !picture->pixmap().isNull();
}

void report(QWidget& about, QWidget& ident)
{
    std::printf("program icon: %d\n", !QApplication::windowIcon().pixmap(48).isNull());
    std::printf("about picture: %d\n", pictureShown(about));
    std::printf("identification picture: %d\n", pictureShown(ident));
    std::printf("about version: %s\n", qPrintable(about.findChild<QLabel*>(QStringLiteral("Label5"))->text()));
    std::printf("Qt's Yes button: %s\n", qPrintable(QCoreApplication::translate("QPlatformTheme", "&Yes")));
    std::fflush(stdout);
}

// Start-up may stop on an error box (no serial port here): it is closed, and
// the report waits until the about window, created late, exists.
void watch()
{
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        return;
    }
    QWidget* about = topLevel(QLatin1StringView("AboutBox"));
    QWidget* ident = topLevel(QLatin1StringView("about_ident"));
    if (!about || !ident)
        return;
    report(*about, *ident);
    QCoreApplication::exit(0);
}

} // namespace

class InstallProbe : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "install_probe.json")

public:
    QObject* create(const QString&, const QString&) override
    {
        auto* timer = new QTimer; // the application deletes its plugins
        QObject::connect(timer, &QTimer::timeout, timer, &watch);
        timer->start(100);
        return timer;
    }
};

#include "install_probe.moc"
