#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/JSONText.h>

#include <QtCore/QMetaObject>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariantMap>

#include <functional>
#include <memory>

// Turns one parsed JSON object into one model object by key-value access.
//
// A model class is a QObject with Q_PROPERTYs, registered in Bastwick's class registry
// (or with a Q_INVOKABLE default constructor). It may take part further in two ways:
// - a class-level factory registered in the class registry under the selector
//   "<class name, first letter small>WithJSONDictionary:" (see registerFactory); it is
//   handed the object and answers the model or nothing;
// - a Q_INVOKABLE QVariantMap jsonKeyPathsByProperty() const, mapping property names to
//   key paths ("a.b" or "a/b") in the JSON.
//
// Only the properties the model's own class declares are filled. A JSON null keeps a
// bool, integer, floating-point or enumeration property and clears any other (texts,
// bytes, containers, objects, dates), with a log line; a value that does not convert to
// the property's type is skipped with a log line.
class CORBELAN_EXPORT JSONMappingConverter
{
public:
    using Factory = std::function<std::shared_ptr<QObject>(const QVariantMap &dictionary)>;

    // A new model of the class, or null when no property was filled (or the factory
    // answered none). Throws Bastwick::Exception (internal inconsistency) for a null class.
    static std::shared_ptr<QObject> toClass(const QMetaObject *prototypeClass, const QVariantMap &dictionary);
    // The model-to-JSON direction does not exist: always nothing.
    static QVariant toJSON(const QVariant &model);

    // "<class name, first letter small>WithJSONDictionary:".
    static QString factorySelector(const QMetaObject *modelClass);
    // Registers the class's factory in the class registry.
    static void registerFactory(const QMetaObject *modelClass, Factory factory);
};
