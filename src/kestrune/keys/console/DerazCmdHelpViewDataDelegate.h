#pragma once

#include <pavisade/tables/XXXTableViewDataDelegate.h>

#include <memory>

class DerazCommand;

// The rows of the command help: one row per command of the local command reference,
// read by the column identifiers "command", "args" and "desc" (and "groupName", "href").
// Main thread.
class DerazCmdHelpViewDataDelegate : public XXXTableViewDataDelegate
{
    Q_OBJECT

public:
    explicit DerazCmdHelpViewDataDelegate(QObject *parent = nullptr);

    // One row holding the command's fields (a copy: rows never share the model object).
    static Row rowWithCommand(const DerazCommand &command);
    // The rows of the commands, in the order given.
    static RowList rowsWithCommands(const QList<std::shared_ptr<DerazCommand>> &commands);
};
