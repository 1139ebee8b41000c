#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/JSONMappingValueTransformer.h>

#include <QtCore/QMetaObject>

#include <memory>

// The two reusable transformers over JSONMappingConverter.
namespace Corbelan {

// One JSON object (QVariantMap) -> one model (std::shared_ptr<QObject> in a QVariant).
// Nothing gives nothing; a value that is not an object gives nothing with a log line.
// The reverse gives nothing.
CORBELAN_EXPORT std::shared_ptr<JSONMappingValueTransformer>
JSONDictionaryTransformerWithModelClass(const QMetaObject *modelClass);

// A JSON array of objects -> a QVariantList of models, in order. Elements that are not
// objects are skipped with a log line, objects that fill no property are left out; a
// value that is not an array gives nothing with a log line. The reverse of a list is an
// empty list (models are not turned back into JSON).
CORBELAN_EXPORT std::shared_ptr<JSONMappingValueTransformer>
JSONArrayTransformerWithModelClass(const QMetaObject *modelClass);

} // namespace Corbelan
