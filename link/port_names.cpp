#include "port_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

QString comPortName(int number) { return QStringLiteral("COM%1").arg(number); }

QString portDirectory()
{
    const QString fromEnv = qEnvironmentVariable("KV36_PORT_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Talvex_R16/ports");
}

#ifdef Q_OS_WIN
QString devicePathFor(const QString& portName) { return portName; }
#else
namespace {

QString followLinks(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    return target.isEmpty() ? path : target;
}

QString pathFromEntry(const QFileInfo& entry)
{
    if (entry.isSymLink())
        return followLinks(entry.absoluteFilePath());
    QFile file(entry.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return followLinks(QString::fromLocal8Bit(file.readLine()).trimmed());
}

} // namespace

QString devicePathFor(const QString& portName)
{
    static const QRegularExpression comName(QStringLiteral("^COM(-?\\d+)$"));
    const QRegularExpressionMatch match = comName.match(portName);
    if (!match.hasMatch())
        return followLinks(portName);
    const QFileInfo entry(QDir(portDirectory()).filePath(portName));
    if (entry.isSymLink() || entry.isFile()) {
        const QString path = pathFromEntry(entry);
        if (!path.isEmpty())
            return path;
    }
    return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toInt() - 1);
}
#endif
