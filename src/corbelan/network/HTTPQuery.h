#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QMetaObject>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <functional>

// One request for HTTPClient: a method code (see HTTPMethod.h), a path relative to the
// client's base URL, parameters, file parts and a transform block that turns the parsed
// JSON into the result. A plain value.
class CORBELAN_EXPORT HTTPQuery
{
public:
    using TransformBlock = std::function<QVariant(const QVariant &response)>;

    HTTPQuery() = default;
    HTTPQuery(int method, const QString &path, const QVariantMap &parameters,
              TransformBlock transformBlock = {});

    // With a model class, the transform block is transformBlockWithModelClass(class, key path).
    static HTTPQuery queryWithMethod(int method, const QString &path, const QVariantMap &parameters,
                                     const QMetaObject *modelClass, const QString &objectKeyPath);
    static HTTPQuery queryWithMethod(int method, const QString &path, const QMetaObject *modelClass);
    static HTTPQuery queryWithMethod(int method, const QString &path, const QVariantMap &parameters);
    static HTTPQuery queryWithMethod(int method, const QString &path, const QVariantMap &parameters,
                                     const QMetaObject *modelClass);

    // Appends the file part {"data", "name", "mimetype", "filename"}; throws
    // Bastwick::Exception (invalid argument) when a name, type or file name is empty.
    void addFileData(const QByteArray &data, const QString &name, const QString &type,
                     const QString &filename);
    // Appends a part as it is.
    void addFileData(const QVariantMap &part);

    // The block: when the key path is not empty and the response is an object, the value
    // at the key path is taken; an object then becomes one model, an array a list of
    // models; anything else gives nothing.
    static TransformBlock transformBlockWithModelClass(const QMetaObject *modelClass,
                                                       const QString &objectKeyPath);

    int method() const { return m_method; }
    void setMethod(int method) { m_method = method; }
    const QString &path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }
    const QVariantMap &parameters() const { return m_parameters; }
    void setParameters(const QVariantMap &parameters) { m_parameters = parameters; }
    const QList<QVariantMap> &multiparts() const { return m_multiparts; }
    void setMultiparts(const QList<QVariantMap> &multiparts) { m_multiparts = multiparts; }
    const TransformBlock &transformBlock() const { return m_transformBlock; }
    void setTransformBlock(TransformBlock block) { m_transformBlock = std::move(block); }

private:
    int m_method = 0;
    QString m_path;
    QVariantMap m_parameters;
    QList<QVariantMap> m_multiparts;
    TransformBlock m_transformBlock;
};
