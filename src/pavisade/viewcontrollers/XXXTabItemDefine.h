#pragma once

#include <pavisade/PavisadeExport.h>

#include <corbelan/sqlite/DataModel.h>

#include <QtCore/QDataStream>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QVariantMap>

#include <memory>

// One tab of a tab screen: its title, identifier, the class name of its screen, image,
// tooltip and a free number. Built in code (setters), from a dictionary or from an
// archive. Main thread.
class PAVISADE_EXPORT XXXTabItemDefine : public DataModel
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QString identifier READ identifier WRITE setIdentifier)
    Q_PROPERTY(QString controllerName READ controllerName WRITE setControllerName)
    Q_PROPERTY(QString imageName READ imageName WRITE setImageName)
    Q_PROPERTY(QString toolTip READ toolTip WRITE setToolTip)
    Q_PROPERTY(qint64 tag READ tag WRITE setTag)
public:
    Q_INVOKABLE explicit XXXTabItemDefine(QObject *parent = nullptr);
    ~XXXTabItemDefine() override;

    // Takes each string present under its key as it stands and the tag read as a
    // number (a text of digits is accepted; anything else gives 0). Absent keys leave
    // the fields empty.
    bool initWithDictionary(const QVariantMap &dictionary) override;
    static std::shared_ptr<XXXTabItemDefine> fromDictionary(const QVariantMap &dictionary);

    // The keyed archive: each string under its key only when set, the tag always.
    QVariantMap encodeWithCoder() const;
    // Reads an archive written by encodeWithCoder(); missing keys leave fields empty.
    void initWithCoder(const QVariantMap &archive);

    // True for a tab definition (or a subclass) whose five strings and tag are equal;
    // a field this record does not have set makes the records unequal.
    bool isEqual(const QObject *other) const;

    // Key-value access by property name; undefined keys write "Undefined Key: <key>"
    // and read nothing / store nothing.
    Q_INVOKABLE QVariant valueForKey(const QString &key) const;
    Q_INVOKABLE void setValueForKey(const QString &key, const QVariant &value);
    Q_INVOKABLE QVariant valueForUndefinedKey(const QString &key) const;
    Q_INVOKABLE void setValueForUndefinedKey(const QString &key, const QVariant &value);

    QVariant jsonKeyPathsByProperty() const override { return QVariant(); }
    bool allowsKeyedCoding() const { return true; }
    void executeTransform() override {}

    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QString identifier() const { return m_identifier; }
    void setIdentifier(const QString &identifier) { m_identifier = identifier; }
    QString controllerName() const { return m_controllerName; }
    void setControllerName(const QString &name) { m_controllerName = name; }
    QString imageName() const { return m_imageName; }
    void setImageName(const QString &name) { m_imageName = name; }
    QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString &toolTip) { m_toolTip = toolTip; }
    qint64 tag() const { return m_tag; }
    void setTag(qint64 tag) { m_tag = tag; }

private:
    QString m_title;
    QString m_identifier;
    QString m_controllerName;
    QString m_imageName;
    QString m_toolTip;
    qint64 m_tag = 0;
};

using XXXTabItemDefineList = QList<std::shared_ptr<XXXTabItemDefine>>;

// The archive in a data stream (the keyed form as a map), for storing records.
PAVISADE_EXPORT QDataStream &operator<<(QDataStream &stream, const XXXTabItemDefine &item);
PAVISADE_EXPORT QDataStream &operator>>(QDataStream &stream, XXXTabItemDefine &item);
