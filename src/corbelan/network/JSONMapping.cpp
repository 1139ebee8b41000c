#include <corbelan/network/JSONMapping.h>

#include <corbelan/network/JSONMappingConverter.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QVariantList>

namespace Corbelan {

std::shared_ptr<JSONMappingValueTransformer>
JSONDictionaryTransformerWithModelClass(const QMetaObject *modelClass)
{
    return JSONMappingValueTransformer::reversibleTransformerWithForwardBlock(
        [modelClass](const QVariant &value) -> QVariant {
            if (!value.isValid())
                return QVariant();
            if (value.metaType().id() != QMetaType::QVariantMap) {
                XXXLogWarning(Bastwick::format("Expected a dictionary, got: %@",
                                               Bastwick::logText(Bastwick::describe(value))));
                return QVariant();
            }
            std::shared_ptr<QObject> model = JSONMappingConverter::toClass(modelClass, value.toMap());
            return model ? QVariant::fromValue(model) : QVariant();
        },
        [](const QVariant &value) -> QVariant {
            if (!value.isValid())
                return QVariant();
            return JSONMappingConverter::toJSON(value);
        });
}

std::shared_ptr<JSONMappingValueTransformer> JSONArrayTransformerWithModelClass(const QMetaObject *modelClass)
{
    const std::shared_ptr<JSONMappingValueTransformer> element =
        JSONDictionaryTransformerWithModelClass(modelClass);
    return JSONMappingValueTransformer::reversibleTransformerWithForwardBlock(
        [element](const QVariant &value) -> QVariant {
            if (!value.isValid())
                return QVariant();
            if (value.metaType().id() != QMetaType::QVariantList) {
                XXXLogWarning(Bastwick::format("Expected a array of dictionaries, got: %@",
                                               Bastwick::logText(Bastwick::describe(value))));
                return QVariant();
            }
            const QVariantList input = value.toList();
            QVariantList models;
            models.reserve(input.size());
            for (const QVariant &item : input) {
                const QVariant model = element->transformedValue(item);
                if (model.isValid())
                    models.append(model);
            }
            return models;
        },
        [element](const QVariant &value) -> QVariant {
            if (!value.isValid())
                return QVariant();
            if (value.metaType().id() != QMetaType::QVariantList) {
                XXXLogWarning(Bastwick::format("Expected a array of models, got: %@",
                                               Bastwick::logText(Bastwick::describe(value))));
                return QVariant();
            }
            QVariantList json;
            for (const QVariant &item : value.toList()) {
                const QVariant back = element->reverseTransformedValue(item);
                if (back.isValid())
                    json.append(back);
            }
            return json;
        });
}

} // namespace Corbelan
