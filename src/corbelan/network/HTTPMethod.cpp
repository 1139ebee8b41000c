#include <corbelan/network/HTTPMethod.h>

#include <QtCore/QHash>
#include <QtCore/QStringList>

namespace {
const QStringList &methodNames()
{
    static const QStringList names{QStringLiteral("GET"),   QStringLiteral("POST"),
                                   QStringLiteral("PUT"),   QStringLiteral("DELETE"),
                                   QStringLiteral("HEAD"),  QStringLiteral("OPTIONS"),
                                   QStringLiteral("TRACE"), QStringLiteral("CONNECT")};
    return names;
}

const QHash<QString, int> &methodCodes()
{
    static const QHash<QString, int> codes = [] {
        QHash<QString, int> table;
        for (int i = 0; i < methodNames().size(); ++i)
            table.insert(methodNames().at(i), i);
        return table;
    }();
    return codes;
}
} // namespace

QString HTTPMethod(int code)
{
    if (code < 0 || code >= methodNames().size())
        return QString();
    return methodNames().at(code);
}

int HTTPMethodEnum(const QString &name)
{
    return methodCodes().value(name, 0);
}
