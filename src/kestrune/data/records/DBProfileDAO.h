#pragma once

#include <corbelan/sqlite/XXXBaseDAO.h>

#include <memory>

class DBProfile;

// Access to the table "DBProfile" of the local database; rows become DBProfile models.
// isValid() is false when it was made before the local database was opened.
class DBProfileDAO : public XXXBaseDAO
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DBProfileDAO(QObject *parent = nullptr);
    ~DBProfileDAO() override;

    // A new access object, or null while no local database is open.
    static std::shared_ptr<DBProfileDAO> create();

    // Every saved profile, in row order.
    QList<std::shared_ptr<DBProfile>> findAllProfiles();
};
