#pragma once

#include <QtCore/QString>

// The kinds of the key tree's nodes (their "type" value).
inline const QString kStoreNode = QStringLiteral("Store");
inline const QString kDerazNode = QStringLiteral("Deraz");
inline const QString kDerazKeyNode = QStringLiteral("DerazKey");
inline const QString kDatabaseNode = QStringLiteral("Database");
inline const QString kTableNode = QStringLiteral("Table");
inline const QString kSchemeNode = QStringLiteral("Scheme");
inline const QString kUnitNode = QStringLiteral("Unit");
