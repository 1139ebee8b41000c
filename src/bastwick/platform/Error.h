#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QString>
#include <QtCore/QVariantMap>

namespace Bastwick {

// An error value: a domain, an integer code and a human-readable description.
// Synchronous calls answer bool and fill an Error* out-value when it is not null;
// asynchronous calls hand one to their failure callback.
struct BASTWICK_EXPORT Error
{
    QString domain;
    qint64 code = 0;
    QString description;
    QVariantMap userInfo;

    Error() = default;
    Error(QString domain, qint64 code, QString description, QVariantMap userInfo = {});

    bool operator==(const Error &other) const;
    // "Error Domain=<domain> Code=<code> \"<description>\""
    QString toString() const;
};

// Writes the error into out when out is not null.
BASTWICK_EXPORT void setError(Error *out, const Error &error);

} // namespace Bastwick
