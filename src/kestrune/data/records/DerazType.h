#pragma once

#include <QtCore/QString>
#include <QtGui/QColor>
#include <QtGui/QIcon>

// Key type codes shared by the data layer, the editors, the key views and the export.
enum DerazKeyType : int {
    DerazKeyTypeString = 0,
    DerazKeyTypeHash = 1,
    DerazKeyTypeList = 2,
    DerazKeyTypeSet = 3,
    DerazKeyTypeZSet = 4,
};

// The display name of a type code ("String", "Hash", "List", "Set", "ZSet"); a null
// QString for any other code.
QString DerazType(quint32 code);

// The text colour of a type code; an invalid QColor for any other code.
QColor DerazTypeColor(quint32 code);

// The image of a type code ("Deraz-String" ... from the data library's resources); a null
// icon for any other code or a missing image.
QIcon DerazTypeImage(quint32 code);

// The image name of a type code ("Deraz-String" ...), or a null QString.
QString DerazTypeImageName(quint32 code);

// The type code for the server's TYPE reply ("string", "hash", "list", "set", "zset"), or
// -1 for any other reply ("none" included).
int DerazTypeCodeFromReply(const QByteArray &typeReply);
