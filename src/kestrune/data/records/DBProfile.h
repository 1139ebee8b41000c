#pragma once

#include <corbelan/sqlite/XXXDataModel.h>

#include <QtCore/QDataStream>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariantMap>

#include <memory>

class DBProfileDAO;
namespace Bastwick {
struct Error;
}

extern const QString kDerazURLScheme;      // "deraz"
extern const QString kMySQLURLScheme;      // "mysql"
extern const QString kPostgreSQLURLScheme; // "postgres"
extern const QString kSQLiteURLScheme;     // "sqlite"

// One saved connection: a row of the table "DBProfile". The twelve stored fields are
// properties named after the columns, in column order.
//
// `connID` is the connection identifier that the node-URL registry hands out; it lives
// only in memory (a plain member, not a property), so reflection, archiving, equality
// and the table row ignore it, and the row key `ID` is never overwritten with it.
class DBProfile : public XXXDataModel
{
    Q_OBJECT
    Q_PROPERTY(qint64 ID READ ID WRITE setID)
    Q_PROPERTY(QString name READ name WRITE setName)
    Q_PROPERTY(QString username READ username WRITE setUsername)
    Q_PROPERTY(QString password READ password WRITE setPassword)
    Q_PROPERTY(QString host READ host WRITE setHost)
    Q_PROPERTY(qint64 port READ port WRITE setPort)
    Q_PROPERTY(QString url READ url WRITE setUrl)
    Q_PROPERTY(QString alias READ alias WRITE setAlias)
    Q_PROPERTY(QString path READ path WRITE setPath)
    Q_PROPERTY(QString database READ database WRITE setDatabase)
    Q_PROPERTY(bool autoLogin READ autoLogin WRITE setAutoLogin)
    Q_PROPERTY(QString scheme READ scheme WRITE setScheme)

public:
    Q_INVOKABLE explicit DBProfile(QObject *parent = nullptr);
    // Fills the fields present in the dictionary (keyed by field name); missing keys and
    // null values leave a field untouched.
    explicit DBProfile(const QVariantMap &dictionary, QObject *parent = nullptr);
    ~DBProfile() override;

    // The stored field names in column order.
    static const QStringList &fieldNames();

    qint64 ID() const { return m_ID; }
    void setID(qint64 value) { m_ID = value; }
    QString name() const { return m_name; }
    void setName(const QString &value) { m_name = value; }
    QString username() const { return m_username; }
    void setUsername(const QString &value) { m_username = value; }
    QString password() const { return m_password; }
    void setPassword(const QString &value) { m_password = value; }
    QString host() const { return m_host; }
    void setHost(const QString &value) { m_host = value; }
    qint64 port() const { return m_port; }
    void setPort(qint64 value) { m_port = value; }
    QString url() const { return m_url; }
    void setUrl(const QString &value) { m_url = value; }
    QString alias() const { return m_alias; }
    void setAlias(const QString &value) { m_alias = value; }
    QString path() const { return m_path; }
    void setPath(const QString &value) { m_path = value; }
    QString database() const { return m_database; }
    void setDatabase(const QString &value) { m_database = value; }
    bool autoLogin() const { return m_autoLogin; }
    void setAutoLogin(bool value) { m_autoLogin = value; }
    QString scheme() const { return m_scheme; }
    void setScheme(const QString &value) { m_scheme = value; }

    // The connection identifier of node URLs (0 until the registry sets it).
    qint64 connID() const { return m_connID; }
    void setConnID(qint64 value) { m_connID = value; }

    // Fills from a dictionary as the dictionary constructor does.
    void setValuesWithDictionary(const QVariantMap &dictionary);
    bool initWithDictionary(const QVariantMap &dictionary) override;
    // JSON keys equal the field names: no renaming.
    QVariant jsonKeyPathsByProperty() const override { return {}; }

    // Key-value access by field name: a key the profile does not define logs
    // "Undefined Key: <key>" and is otherwise ignored (nothing read, nothing stored).
    Q_INVOKABLE QVariant valueForKey(const QString &key) const;
    Q_INVOKABLE bool setValueForKey(const QString &key, const QVariant &value);

    // Keyed archive: one entry per stored field (text fields only when present).
    QVariantMap encodeWithCoder() const;
    void initWithCoder(const QVariantMap &archive);

    // A new profile with the same stored fields and connID.
    std::shared_ptr<DBProfile> copy() const;

    // The twelve stored fields match; a text absent on both sides counts as equal.
    bool isEqual(const DBProfile &other) const;
    bool operator==(const DBProfile &other) const { return isEqual(other); }

    // "schema <scheme> host <host> port <port> user <username> pass <***>": the password
    // itself never appears, so the text is safe for log lines.
    Q_INVOKABLE QString description() const;

    // The profile URL formed from the current fields; urlFormat() stores it in `url`.
    QString urlString() const;
    void urlFormat();

    // The profile's table access object, made on first use (null while the local
    // database is not open).
    DBProfileDAO *dao();
    // Insert-or-update, update and delete of this profile's row; false, with the reason
    // in error, when the row was not written.
    bool save(Bastwick::Error *error = nullptr);
    bool update(Bastwick::Error *error = nullptr);
    bool deleteProfile(Bastwick::Error *error = nullptr);

private:
    qint64 m_ID = 0;
    QString m_name;
    QString m_username;
    QString m_password;
    QString m_host;
    qint64 m_port = 0;
    QString m_url;
    QString m_alias;
    QString m_path;
    QString m_database;
    bool m_autoLogin = false;
    QString m_scheme;
    qint64 m_connID = 0;
    std::shared_ptr<DBProfileDAO> m_dao;
};

QDataStream &operator<<(QDataStream &out, const DBProfile &profile);
QDataStream &operator>>(QDataStream &in, DBProfile &profile);
