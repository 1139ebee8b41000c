#pragma once

#include <QtCore/QString>

class XXXDBManager;
namespace Bastwick {
struct Error;
}

// The file name of the application's local database in the user's Documents folder.
extern const QString kAppDBName; // "Deraz.sqlite"

// The path of the local database: the user's Documents folder + "/Deraz.sqlite".
QString appDBPath();

// Opens and closes the application's local database through the database manager and
// answers the version records. One instance per process (sharedInstance()); a test may
// make its own over the manager it chooses.
//
// Lives on the main thread (the application's start-up and termination use it).
class DataBaseBO
{
public:
    static DataBaseBO &sharedInstance();

    // Works through the given manager (the shared one when null).
    explicit DataBaseBO(XXXDBManager *manager = nullptr);

    // Opens appDBPath() (copying the shipped seed there when the file is missing); true
    // when the file is open, else false with the reason in error (the file is left as it
    // is). The file is made readable and writable by its owner only.
    bool openDataBase(Bastwick::Error *error = nullptr);
    void closeDataBase();

    // Does nothing.
    void updateCheck() {}
    // "2.0".
    QString appNewVersion() const;
    // The version number text of the first version record; "1.0" when there is none (or
    // the table cannot be read); nothing when that record's number is NULL.
    QString hisVersion() const;

private:
    XXXDBManager *manager() const;

    XXXDBManager *m_manager = nullptr;
};
