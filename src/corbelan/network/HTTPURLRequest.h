#pragma once

#include <corbelan/CorbelanExport.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtNetwork/QNetworkRequest>

#include <optional>
#include <utility>

// One file of a multipart body.
struct CORBELAN_EXPORT HTTPFilePart
{
    QByteArray data;
    QString name;
    QString mimeType;
    QString fileName;
};

// A request as it is sent: the method, the URL and headers, and either a plain body or
// the form fields and files of a multipart body. A request that cannot be sent (a method
// code without a name) carries the error that sending it reports instead.
struct CORBELAN_EXPORT HTTPURLRequest
{
    QByteArray method;
    QNetworkRequest request;
    QByteArray body;
    bool multipart = false;
    QList<std::pair<QString, QString>> formFields;
    QList<HTTPFilePart> files;
    std::optional<Bastwick::Error> error;

    bool isValid() const { return !error; }
};
