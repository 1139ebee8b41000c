#pragma once

#include <corbelan/sqlite/XXXDataModel.h>

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariantMap>

#include <memory>

class XXXAppVersionDAO;

// One application version record: a row of the table "XXXAppVersion".
class XXXAppVersion : public XXXDataModel
{
    Q_OBJECT
    Q_PROPERTY(qint64 versionID READ versionID WRITE setVersionID)
    Q_PROPERTY(QString versionNO READ versionNO WRITE setVersionNO)
    Q_PROPERTY(QString history READ history WRITE setHistory)

public:
    Q_INVOKABLE explicit XXXAppVersion(QObject *parent = nullptr);
    explicit XXXAppVersion(const QVariantMap &dictionary, QObject *parent = nullptr);
    ~XXXAppVersion() override;

    // The stored field names in column order.
    static const QStringList &fieldNames();

    qint64 versionID() const { return m_versionID; }
    void setVersionID(qint64 value) { m_versionID = value; }
    QString versionNO() const { return m_versionNO; }
    void setVersionNO(const QString &value) { m_versionNO = value; }
    QString history() const { return m_history; }
    void setHistory(const QString &value) { m_history = value; }

    void setValuesWithDictionary(const QVariantMap &dictionary);
    bool initWithDictionary(const QVariantMap &dictionary) override;
    QVariant jsonKeyPathsByProperty() const override { return {}; }

    // Key-value access by field name: a key the model does not define logs
    // "Undefined Key: <key>" and is otherwise ignored.
    Q_INVOKABLE QVariant valueForKey(const QString &key) const;
    Q_INVOKABLE bool setValueForKey(const QString &key, const QVariant &value);

    // Keyed archiving is supported.
    static constexpr bool allowsKeyedCoding() { return true; }
    QVariantMap encodeWithCoder() const;
    void initWithCoder(const QVariantMap &archive);

    // The three stored fields match; a text absent on both sides counts as equal.
    bool isEqual(const XXXAppVersion &other) const;
    bool operator==(const XXXAppVersion &other) const { return isEqual(other); }

    XXXAppVersionDAO *dao();
    bool save();
    bool update();
    bool deleteVersion();

private:
    qint64 m_versionID = 0;
    QString m_versionNO;
    QString m_history;
    std::shared_ptr<XXXAppVersionDAO> m_dao;
};
