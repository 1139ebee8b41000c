#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

namespace Bastwick {
class UserDefaults;
}

// Typed accessors of one stored setting of a preference class. The Q_PROPERTY line is
// written beside it (moc does not look into macros), in a public section:
//
//   Q_PROPERTY(qint64 pageSize READ pageSize WRITE setPageSize)
//   XXX_PREFERENCE_PROPERTY(qint64, pageSize, setPageSize)
//
// The getter reads the value kept under the getter's name; the setter stores under the
// key derived from the setter's name (getPropertyNameFromSetSelectorString, computed
// once per setter), so a setter setURLString stores under "uRLString".
#define XXX_PREFERENCE_PROPERTY(Type, getter, setter)                                                        \
    Type getter() const                                                                                      \
    {                                                                                                        \
        return preferenceValue<Type>(QStringLiteral(#getter));                                               \
    }                                                                                                        \
    void setter(const Type &value)                                                                           \
    {                                                                                                        \
        static const QString key = getPropertyNameFromSetSelectorString(QStringLiteral(#setter ":"));        \
        storePreferenceValue(key, QVariant::fromValue(value));                                               \
    }

// Base of the preference objects: each declared setting lives in the user defaults under
// its property name, with the defaults a subclass declares in defaultKVDataConfig().
//
// Values are stored as they are, except lists, which are kept as an archive (the value
// serialised by QDataStream behind a marker). Reading unarchives only such archives;
// every other stored value (and a registered default) is converted to the declared type
// of the property. A value that was never written and has no default reads as the
// type's empty value (0, false, an empty text).
//
// Subclasses reach their one instance through a function-local static in their own
// source file, made ready by prepareSharedInstance():
//
//   AppPreference *AppPreference::sharedPreference()
//   {
//       static AppPreference *p = [] { auto *x = new AppPreference;
//                                      XXXPreference::prepareSharedInstance(x); return x; }();
//       return p;
//   }
class CORBELAN_EXPORT XXXPreference : public QObject
{
    Q_OBJECT

public:
    // A null defaults pointer means the standard user defaults; a given store must
    // outlive the object.
    explicit XXXPreference(Bastwick::UserDefaults *defaults = nullptr, QObject *parent = nullptr);
    ~XXXPreference() override;

    // The defaults of the subclass (key = property name); the base has none.
    virtual QVariantMap defaultKVDataConfig() const;

    // Registers the subclass's defaults and fills the type cache; called once on the
    // instance a subclass keeps as its shared instance.
    static void prepareSharedInstance(XXXPreference *preference);

    void registerFromDictionary(const QVariantMap &dictionary);
    // Registers the property list resource ":/<name>.plist"; a missing or unreadable
    // resource registers nothing.
    void registerFromPlistFile(const QString &name);
    // The stored values over the registered defaults; registers nothing.
    QVariantMap registerDefault() const;

    void removeObjectForKey(const QString &key);
    // Removes every key of defaultKVDataConfig() from the store.
    void removeAllUserObjectKey();

    void registerObjectType(const QVariant &object);
    QVariantList classes() const { return m_classes; }
    void setClasses(const QVariantList &classes) { m_classes = classes; }

    // Writes one debug line per declared property with its attribute text.
    void showpropertyNames() const;
    // "setPageSize:" gives "pageSize": the character after "set" lower-cased, then the
    // rest without its last character. A text that does not begin with "set" comes back
    // unchanged.
    static QString getPropertyNameFromSetSelectorString(const QString &selector);
    // Fills proTypeEncodingCache(): "@" for object-typed properties, else the scalar
    // type code of its own properties ("i", "B", "q", "d", ...).
    void getPropertiesTypeEncoding();
    QVariantMap proTypeEncodingCache() const { return m_proTypeEncodingCache; }
    void setProTypeEncodingCache(const QVariantMap &cache) { m_proTypeEncodingCache = cache; }

    QVariantMap defaultsKVData() const { return m_defaultsKVData; }
    void setDefaultsKVData(const QVariantMap &data) { m_defaultsKVData = data; }

    Bastwick::UserDefaults &defaults() const { return *m_defaults; }
    // Another store from now on (null: the standard user defaults); it must outlive the object.
    void setDefaults(Bastwick::UserDefaults *defaults);

    // The stored value of a key as the given type (see the class comment).
    QVariant preferenceObject(const QString &key, QMetaType declaredType) const;
    // Stores a value under the key (lists archived, nil ignored) and synchronises.
    void storePreferenceValue(const QString &key, const QVariant &value);

    template <class T> T preferenceValue(const QString &key) const
    {
        const QVariant value = preferenceObject(key, QMetaType::fromType<T>());
        if constexpr (std::is_same_v<T, QVariant>)
            return value;
        else
            return value.isValid() ? value.template value<T>() : T();
    }

    // The archive form of a value and its reverse; unarchive answers an invalid
    // QVariant for bytes that are not such an archive.
    static QByteArray archive(const QVariant &value);
    static QVariant unarchive(const QByteArray &data);

private:
    Bastwick::UserDefaults *m_defaults;
    QVariantMap m_proTypeEncodingCache;
    QVariantList m_classes;
    QVariantMap m_defaultsKVData;
};
