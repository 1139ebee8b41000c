#include <bastwick/platform/Error.h>

namespace Bastwick {

Error::Error(QString domain, qint64 code, QString description, QVariantMap userInfo)
    : domain(std::move(domain))
    , code(code)
    , description(std::move(description))
    , userInfo(std::move(userInfo))
{
}

bool Error::operator==(const Error &other) const
{
    return domain == other.domain && code == other.code && description == other.description;
}

QString Error::toString() const
{
    return QStringLiteral("Error Domain=%1 Code=%2 \"%3\"").arg(domain).arg(code).arg(description);
}

void setError(Error *out, const Error &error)
{
    if (out)
        *out = error;
}

} // namespace Bastwick
