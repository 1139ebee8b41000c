#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <memory>

namespace Bastwick {

// The user-defaults store over QSettings: an INI file in the user's config directory
// ("<GenericConfigLocation>/Kestrune/Kestrune.ini", read from QStandardPaths when the
// object is made), created readable and writable by its owner only (0600).
//
// Registered defaults are answered for a key until a value is written under it; they
// are never written to the file. Values keep their types (a stored integer reads back
// as an integer, a list as a list); typed accessors convert to the asked type. Keys are
// escaped, so "/" and "\" in a key are plain characters. Every access is guarded by a
// mutex, so the store can be used from any thread.
class BASTWICK_EXPORT UserDefaults
{
public:
    // The store of the current user.
    static UserDefaults &standard();

    // A store in the given file (tests, tools).
    explicit UserDefaults(const QString &filePath);
    ~UserDefaults();

    QString filePath() const;

    void registerDefaults(const QVariantMap &defaults);
    QVariantMap registeredDefaults() const;

    // The stored value, else the registered default, else an invalid QVariant.
    QVariant objectForKey(const QString &key) const;
    // An invalid value removes the key.
    void setObject(const QVariant &value, const QString &key);
    void removeObjectForKey(const QString &key);
    bool hasStoredValue(const QString &key) const;

    QString stringForKey(const QString &key) const;
    QStringList stringArrayForKey(const QString &key) const;
    QVariantList arrayForKey(const QString &key) const;
    QVariantMap dictionaryForKey(const QString &key) const;
    QByteArray dataForKey(const QString &key) const;
    qint64 integerForKey(const QString &key) const;
    double doubleForKey(const QString &key) const;
    float floatForKey(const QString &key) const;
    bool boolForKey(const QString &key) const;

    void setString(const QString &value, const QString &key);
    void setInteger(qint64 value, const QString &key);
    void setDouble(double value, const QString &key);
    void setFloat(float value, const QString &key);
    void setBool(bool value, const QString &key);

    // Stored values merged over the registered defaults.
    QVariantMap dictionaryRepresentation() const;

    // Writes pending changes to the file; answers whether that worked.
    bool synchronize();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Bastwick
