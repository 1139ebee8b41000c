#include <corbelan/network/JSONMappingConverter.h>

#include <bastwick/StringAdditions.h>
#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/Exception.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QMetaProperty>

namespace {

QObject *newInstance(const QMetaObject *cls)
{
    if (QObject *made =
            Bastwick::ClassRegistry::instance().createObject(QString::fromLatin1(cls->className())))
        return made;
    return cls->newInstance();
}

bool keepsValueOnNull(const QMetaProperty &property)
{
    if (property.isEnumType())
        return true;
    const int type = property.metaType().id();
    return type == QMetaType::Float || type == QMetaType::Double || Bastwick::isIntegerType(type);
}

// Sets one property from a JSON value; answers whether the property was set.
bool assign(QObject *model, const QMetaProperty &property, const QVariant &value)
{
    const QString name = QString::fromLatin1(property.name());
    if (!Bastwick::isNull(value))
        return Bastwick::setValueForKey(model, name, value);
    if (keepsValueOnNull(property)) {
        XXXLog(Bastwick::format("%@.%@ keeps its value for a JSON null", model->metaObject()->className(),
                                name));
        return false;
    }
    XXXLog(Bastwick::format("%@.%@ cleared by a JSON null", model->metaObject()->className(), name));
    return property.write(model, QVariant(property.metaType()));
}

} // namespace

QString JSONMappingConverter::factorySelector(const QMetaObject *modelClass)
{
    return Bastwick::firstCharLower(QString::fromLatin1(modelClass->className())) +
           QStringLiteral("WithJSONDictionary:");
}

void JSONMappingConverter::registerFactory(const QMetaObject *modelClass, Factory factory)
{
    Bastwick::ClassRegistry::instance().addClassMethod(
        QString::fromLatin1(modelClass->className()), factorySelector(modelClass),
        [factory](const QVariantList &arguments) {
            return QVariant::fromValue(factory(arguments.value(0).toMap()));
        });
}

std::shared_ptr<QObject> JSONMappingConverter::toClass(const QMetaObject *prototypeClass,
                                                       const QVariantMap &dictionary)
{
    if (!prototypeClass)
        throw Bastwick::Exception(QString::fromLatin1(Bastwick::Exception::kInternalInconsistency),
                                  QStringLiteral("Invalid parameter not satisfying: prototypeClass"));

    const Bastwick::ClassRegistry::ClassMethod factory = Bastwick::ClassRegistry::instance().classMethod(
        QString::fromLatin1(prototypeClass->className()), factorySelector(prototypeClass));
    if (factory)
        return factory({dictionary}).value<std::shared_ptr<QObject>>();

    std::shared_ptr<QObject> model(newInstance(prototypeClass));
    if (!model) {
        XXXLogWarning(Bastwick::format("%s cannot be made by name", prototypeClass->className()));
        return nullptr;
    }
    QVariantMap mapping;
    if (model->metaObject()->indexOfMethod("jsonKeyPathsByProperty()") >= 0)
        QMetaObject::invokeMethod(model.get(), "jsonKeyPathsByProperty", Qt::DirectConnection,
                                  Q_RETURN_ARG(QVariantMap, mapping));

    bool filled = false;
    for (int i = prototypeClass->propertyOffset(); i < prototypeClass->propertyCount(); ++i) {
        const QMetaProperty property = prototypeClass->property(i);
        const QString name = QString::fromLatin1(property.name());
        QVariant value;
        if (!mapping.isEmpty() && mapping.contains(name))
            value = Bastwick::objectForKeyPath(dictionary, mapping.value(name).toString());
        else
            value = dictionary.value(name);
        if (value.isValid() && assign(model.get(), property, value))
            filled = true;
    }
    return filled ? model : nullptr;
}

QVariant JSONMappingConverter::toJSON(const QVariant &)
{
    XXXLog(QStringLiteral("models are not turned back into JSON"));
    return QVariant();
}
