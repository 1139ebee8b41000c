#include <corbelan/network/HTTPQuery.h>

#include <corbelan/network/JSONMapping.h>

#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/Exception.h>

HTTPQuery::HTTPQuery(int method, const QString &path, const QVariantMap &parameters,
                     TransformBlock transformBlock)
    : m_method(method)
    , m_path(path)
    , m_parameters(parameters)
    , m_transformBlock(std::move(transformBlock))
{
}

HTTPQuery HTTPQuery::queryWithMethod(int method, const QString &path, const QVariantMap &parameters,
                                     const QMetaObject *modelClass, const QString &objectKeyPath)
{
    return HTTPQuery(method, path, parameters,
                     modelClass ? transformBlockWithModelClass(modelClass, objectKeyPath) : TransformBlock());
}

HTTPQuery HTTPQuery::queryWithMethod(int method, const QString &path, const QMetaObject *modelClass)
{
    return queryWithMethod(method, path, QVariantMap(), modelClass, QString());
}

HTTPQuery HTTPQuery::queryWithMethod(int method, const QString &path, const QVariantMap &parameters)
{
    return queryWithMethod(method, path, parameters, nullptr, QString());
}

HTTPQuery HTTPQuery::queryWithMethod(int method, const QString &path, const QVariantMap &parameters,
                                     const QMetaObject *modelClass)
{
    return queryWithMethod(method, path, parameters, modelClass, QString());
}

void HTTPQuery::addFileData(const QByteArray &data, const QString &name, const QString &type,
                            const QString &filename)
{
    if (name.isEmpty() || type.isEmpty() || filename.isEmpty())
        throw Bastwick::Exception(QString::fromLatin1(Bastwick::Exception::kInvalidArgument),
                                  QStringLiteral("a file part needs a name, a type and a file name"));
    addFileData(QVariantMap{{QStringLiteral("data"), data},
                            {QStringLiteral("name"), name},
                            {QStringLiteral("mimetype"), type},
                            {QStringLiteral("filename"), filename}});
}

void HTTPQuery::addFileData(const QVariantMap &part)
{
    m_multiparts.append(part);
}

HTTPQuery::TransformBlock HTTPQuery::transformBlockWithModelClass(const QMetaObject *modelClass,
                                                                  const QString &objectKeyPath)
{
    return [modelClass, objectKeyPath](const QVariant &response) -> QVariant {
        QVariant object = response;
        if (!objectKeyPath.isEmpty() && object.metaType().id() == QMetaType::QVariantMap)
            object = Bastwick::objectForKeyPath(object.toMap(), objectKeyPath);
        const int kind = object.metaType().id();
        if (kind == QMetaType::QVariantMap)
            return Corbelan::JSONDictionaryTransformerWithModelClass(modelClass)->transformedValue(object);
        if (kind == QMetaType::QVariantList)
            return Corbelan::JSONArrayTransformerWithModelClass(modelClass)->transformedValue(object);
        return QVariant();
    };
}
