#pragma once

#include <corbelan/sqlite/XXXBaseDAO.h>

#include <memory>

class XXXAppVersion;

// Access to the table "XXXAppVersion" of the local database; rows become XXXAppVersion
// models. isValid() is false when it was made before the local database was opened.
class XXXAppVersionDAO : public XXXBaseDAO
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit XXXAppVersionDAO(QObject *parent = nullptr);
    ~XXXAppVersionDAO() override;

    // A new access object, or null while no local database is open.
    static std::shared_ptr<XXXAppVersionDAO> create();

    // Every version record, in row order.
    QList<std::shared_ptr<XXXAppVersion>> findAllVersions();
};
