#pragma once

#include <corbelan/sqlite/XXXBaseDAO.h>

#include <memory>

class DerazCommand;

// Access to the table "DerazCommand" of the local database (the command reference);
// rows become DerazCommand models. isValid() is false when it was made before the local
// database was opened.
class DerazCommandDAO : public XXXBaseDAO
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DerazCommandDAO(QObject *parent = nullptr);
    ~DerazCommandDAO() override;

    // A new access object, or null while no local database is open.
    static std::shared_ptr<DerazCommandDAO> create();

    // Every command, in row order.
    QList<std::shared_ptr<DerazCommand>> findAllCommands();
    // The commands of one group.
    QList<std::shared_ptr<DerazCommand>> findCommandsInGroup(const QString &groupName);
    // The commands whose name contains the user's text (SQLite LIKE: ASCII letters match
    // in either case). The text is bound as a parameter, never spliced into the statement.
    QList<std::shared_ptr<DerazCommand>> searchCommands(const QString &text);
};
