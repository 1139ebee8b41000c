#pragma once

#include <corbelan/sqlite/XXXDataModel.h>

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariantMap>

#include <memory>

class DerazCommandDAO;

// One command of the command reference: a row of the table "DerazCommand". The stored
// fields are properties named after the columns, in column order.
class DerazCommand : public XXXDataModel
{
    Q_OBJECT
    Q_PROPERTY(qint64 ID READ ID WRITE setID)
    Q_PROPERTY(QString command READ command WRITE setCommand)
    Q_PROPERTY(QString args READ args WRITE setArgs)
    Q_PROPERTY(QString desc READ desc WRITE setDesc)
    Q_PROPERTY(QString groupName READ groupName WRITE setGroupName)
    Q_PROPERTY(QString href READ href WRITE setHref)

public:
    Q_INVOKABLE explicit DerazCommand(QObject *parent = nullptr);
    // Fills the fields present in the dictionary (keyed by field name); missing keys and
    // null values leave a field untouched.
    explicit DerazCommand(const QVariantMap &dictionary, QObject *parent = nullptr);
    ~DerazCommand() override;

    // The stored field names in column order.
    static const QStringList &fieldNames();

    qint64 ID() const { return m_ID; }
    void setID(qint64 value) { m_ID = value; }
    QString command() const { return m_command; }
    void setCommand(const QString &value) { m_command = value; }
    QString args() const { return m_args; }
    void setArgs(const QString &value) { m_args = value; }
    QString desc() const { return m_desc; }
    void setDesc(const QString &value) { m_desc = value; }
    QString groupName() const { return m_groupName; }
    void setGroupName(const QString &value) { m_groupName = value; }
    QString href() const { return m_href; }
    void setHref(const QString &value) { m_href = value; }

    void setValuesWithDictionary(const QVariantMap &dictionary);
    bool initWithDictionary(const QVariantMap &dictionary) override;
    // JSON keys equal the field names: no renaming.
    QVariant jsonKeyPathsByProperty() const override { return {}; }

    // Key-value access by field name: a key the model does not define logs
    // "Undefined Key: <key>" and is otherwise ignored.
    Q_INVOKABLE QVariant valueForKey(const QString &key) const;
    Q_INVOKABLE bool setValueForKey(const QString &key, const QVariant &value);

    // Keyed archive: one entry per stored field (text fields only when present).
    // Keyed archiving is supported.
    static constexpr bool allowsKeyedCoding() { return true; }
    QVariantMap encodeWithCoder() const;
    void initWithCoder(const QVariantMap &archive);

    // The six stored fields match; a text absent on both sides counts as equal.
    bool isEqual(const DerazCommand &other) const;
    bool operator==(const DerazCommand &other) const { return isEqual(other); }

    // The model's table access object, made on first use (null while the local database
    // is not open).
    DerazCommandDAO *dao();
    // Insert-or-update, update and delete of this model's row.
    bool save();
    bool update();
    bool deleteCommand();

private:
    qint64 m_ID = 0;
    QString m_command;
    QString m_args;
    QString m_desc;
    QString m_groupName;
    QString m_href;
    std::shared_ptr<DerazCommandDAO> m_dao;
};
