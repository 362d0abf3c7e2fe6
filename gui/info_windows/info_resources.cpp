#include "info_resources.h"

void initInfoResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(info);
        return true;
    }();
    Q_UNUSED(registered);
}

QIcon programIcon()
{
    initInfoResources();
    return QIcon(QStringLiteral(":/kv36.svg"));
}
