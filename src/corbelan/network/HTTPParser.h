#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/HTTPQuery.h>

// Transform blocks that also take the response as JSON text.
class CORBELAN_EXPORT HTTPParser
{
public:
    // As HTTPQuery::transformBlockWithModelClass; a text response is parsed first (text
    // that is not JSON gives nothing).
    static HTTPQuery::TransformBlock transformBlockWithModelClass(const QMetaObject *modelClass,
                                                                  const QString &objectKeyPath = QString());
};
