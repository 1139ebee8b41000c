#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QMetaType>
#include <QtCore/QString>
#include <QtGui/QAction>

// One item of a window toolbar read from a definition file: the action shows the
// label, tooltip and image; `notificationName` is the message a click reports.
// Main thread.
class PAVISADE_EXPORT XXXToolBarItem : public QAction
{
    Q_OBJECT
    Q_PROPERTY(QString notificationName READ notificationName WRITE setNotificationName)
    Q_PROPERTY(QString identifier READ identifier WRITE setIdentifier)
    Q_PROPERTY(QString paletteLabel READ paletteLabel WRITE setPaletteLabel)
    Q_PROPERTY(bool enable READ enable WRITE setEnable)

public:
    Q_INVOKABLE explicit XXXToolBarItem(QObject *parent = nullptr);

    QString notificationName() const { return m_notificationName; }
    void setNotificationName(const QString &name) { m_notificationName = name; }
    QString identifier() const { return m_identifier; }
    void setIdentifier(const QString &identifier) { m_identifier = identifier; }
    // The label shown in a customisation palette.
    QString paletteLabel() const { return m_paletteLabel; }
    void setPaletteLabel(const QString &label) { m_paletteLabel = label; }
    bool enable() const { return m_enable; }
    void setEnable(bool enable) { m_enable = enable; }

private:
    QString m_notificationName;
    QString m_identifier;
    QString m_paletteLabel;
    bool m_enable = false;
};

// The fields of one toolbar item, for code that writes its definitions itself.
class PAVISADE_EXPORT XXXToolBarItemDef
{
    Q_GADGET
    Q_PROPERTY(QString label MEMBER label)
    Q_PROPERTY(QString paletteLabel MEMBER paletteLabel)
    Q_PROPERTY(QString toolTip MEMBER toolTip)
    Q_PROPERTY(QString image MEMBER image)
    Q_PROPERTY(QString notificationName MEMBER notificationName)
    Q_PROPERTY(QString controllerClass MEMBER controllerClass)
    Q_PROPERTY(QString identifier MEMBER identifier)
    Q_PROPERTY(bool enable MEMBER enable)
    Q_PROPERTY(bool selectable MEMBER selectable)

public:
    XXXToolBarItemDef() = default;
    explicit XXXToolBarItemDef(const QString &itemIdentifier)
        : identifier(itemIdentifier)
    {
    }

    QString label;
    QString paletteLabel;
    QString toolTip;
    QString image;
    QString notificationName;
    QString controllerClass;
    QString identifier;
    bool enable = false;
    bool selectable = false;
};

Q_DECLARE_METATYPE(XXXToolBarItemDef)
