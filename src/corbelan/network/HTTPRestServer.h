#pragma once

#include <corbelan/CorbelanExport.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QVariant>

#include <functional>
#include <optional>

// A REST facade with no server behind it: every operation completes at once, on the
// main queue, with a "not supported" error, and sends nothing.
class CORBELAN_EXPORT HTTPRestServer
{
public:
    using Completion =
        std::function<void(const QVariant &result, const std::optional<Bastwick::Error> &error)>;

    static const QString kErrorDomain; // "com.request.model.rest"

    static void GET(const QVariant &path, const QVariant &parameters, Completion completion);
    static void POST(const QVariant &path, const QVariant &parameters, Completion completion);
    static void performRequest(const QVariant &request, Completion completion);
};
