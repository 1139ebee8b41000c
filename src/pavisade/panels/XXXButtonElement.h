#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>

// One button of a panel's button row: its title (shown translated; "ok" and "cancel",
// in any case, mark the OK and Cancel buttons), identifier, whether it starts enabled and
// the name of the panel action it calls ("ok", "cancel", ...).
class PAVISADE_EXPORT XXXButtonElement
{
    Q_GADGET
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString identifier MEMBER identifier)
    Q_PROPERTY(bool enabled MEMBER enabled)
    Q_PROPERTY(QString selector MEMBER selector)

public:
    QString title;
    QString identifier;
    bool enabled = false;
    QString selector;

    bool isOkButton() const { return title.compare(QLatin1String("ok"), Qt::CaseInsensitive) == 0; }
    bool isCancelButton() const { return title.compare(QLatin1String("cancel"), Qt::CaseInsensitive) == 0; }
};

Q_DECLARE_METATYPE(XXXButtonElement)
