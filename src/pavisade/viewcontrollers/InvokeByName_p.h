#pragma once

#include <QtCore/QMetaMethod>
#include <QtCore/QMetaObject>
#include <QtCore/QObject>
#include <QtCore/QString>

#include <bastwick/platform/Log.h>

namespace Pavisade {

// Calls the Q_INVOKABLE method or slot `name(Arg *)` of the target with the argument,
// for actions whose names are built at run time. A target without that method gets
// one log line and nothing else. Answers whether the method ran. Main thread.
template <class Arg> bool invokeByName(QObject *target, const QString &name, Arg *argument)
{
    if (!target)
        return false;
    const QMetaObject *meta = target->metaObject();
    const QByteArray argType = QMetaType::fromType<Arg *>().name();
    const QByteArray signature =
        QMetaObject::normalizedSignature((name + QLatin1Char('(')).toLatin1() + argType + ')');
    const int index = meta->indexOfMethod(signature.constData());
    if (index < 0) {
        XXXLog(QStringLiteral("%1 has no method %2")
                   .arg(QLatin1String(meta->className()), QString::fromLatin1(signature)));
        return false;
    }
    return meta->method(index).invoke(target, Qt::DirectConnection, Q_ARG(Arg *, argument));
}

} // namespace Pavisade
