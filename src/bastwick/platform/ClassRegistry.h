#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QMetaObject>
#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

#include <functional>
#include <memory>
#include <type_traits>

namespace Bastwick {

// Classes made by name: class name -> QMetaObject and factory. Models are made from
// their table names and controllers from route entries this way. Each library
// registers its classes in an explicit register...Classes() call at start-up (static
// self-registration would be dropped by the linker from static libraries).
//
// QObject classes are made with createObject(); Q_GADGET value classes with
// createValue(), which answers a QVariant holding a default-constructed value.
class BASTWICK_EXPORT ClassRegistry
{
public:
    using ObjectFactory = std::function<QObject *()>;
    // A class-level operation reached by its selector text ("fooWithJSONDictionary:").
    using ClassMethod = std::function<QVariant(const QVariantList &arguments)>;

    struct Entry
    {
        QString name;
        const QMetaObject *metaObject = nullptr;
        ObjectFactory objectFactory; // QObject classes
        QMetaType valueType;         // Q_GADGET value classes
    };

    static ClassRegistry &instance();

    // Registers a QObject subclass (made with new T()) or a Q_GADGET value class.
    // The name is the meta-object's class name.
    template <class T> void registerClass()
    {
        Entry e;
        e.metaObject = &T::staticMetaObject;
        e.name = QString::fromLatin1(e.metaObject->className());
        if constexpr (std::is_base_of_v<QObject, T>) {
            if constexpr (std::is_default_constructible_v<T>)
                e.objectFactory = [] { return static_cast<QObject *>(new T()); };
        } else {
            e.valueType = QMetaType::fromType<T>();
        }
        add(std::move(e));
    }

    // Registers an entry made by hand (for example a factory with arguments bound).
    void add(Entry entry);
    void remove(const QString &name);

    bool contains(const QString &name) const;
    const QMetaObject *metaObject(const QString &name) const;
    QStringList classNames() const;

    // A new object of the named QObject class (owned by the caller), or null.
    QObject *createObject(const QString &name) const;
    // A default value of the named gadget class, or an invalid QVariant.
    QVariant createValue(const QString &name) const;
    // The factory of a name, so callers that make many objects resolve it once.
    ObjectFactory objectFactory(const QString &name) const;
    QMetaType valueType(const QString &name) const;

    // Class-level operations by selector: a class answers a selector when one was added
    // for it; classMethod answers an empty function otherwise.
    void addClassMethod(const QString &className, const QString &selector, ClassMethod method);
    ClassMethod classMethod(const QString &className, const QString &selector) const;

    // True when the named class is cls or inherits from it.
    bool isSubclass(const QString &name, const QMetaObject *cls) const;

private:
    ClassRegistry();
    ~ClassRegistry();
    struct Private;
    std::unique_ptr<Private> d;
};

// Registers Bastwick's own classes. Called once at start-up and by test mains.
BASTWICK_EXPORT void registerBastwickClasses();

} // namespace Bastwick
