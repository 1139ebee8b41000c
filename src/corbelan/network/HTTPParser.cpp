#include <corbelan/network/HTTPParser.h>

#include <corbelan/network/JSONText.h>

HTTPQuery::TransformBlock HTTPParser::transformBlockWithModelClass(const QMetaObject *modelClass,
                                                                   const QString &objectKeyPath)
{
    const HTTPQuery::TransformBlock models =
        HTTPQuery::transformBlockWithModelClass(modelClass, objectKeyPath);
    return [models](const QVariant &response) -> QVariant {
        if (response.metaType().id() != QMetaType::QString)
            return models(response);
        const QVariant parsed = Corbelan::objectFromJSONText(response.toString());
        return parsed.isValid() ? models(parsed) : QVariant();
    };
}
