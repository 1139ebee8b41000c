#include <kestrune/keys/console/DerazCmdHelpViewDataDelegate.h>

#include <kestrune/data/state/DerazCommand.h>

DerazCmdHelpViewDataDelegate::DerazCmdHelpViewDataDelegate(QObject *parent)
    : XXXTableViewDataDelegate(parent)
{
}

DerazCmdHelpViewDataDelegate::Row DerazCmdHelpViewDataDelegate::rowWithCommand(const DerazCommand &command)
{
    return Pavisade::DictionaryRow::create({{QStringLiteral("ID"), command.ID()},
                                            {QStringLiteral("command"), command.command()},
                                            {QStringLiteral("args"), command.args()},
                                            {QStringLiteral("desc"), command.desc()},
                                            {QStringLiteral("groupName"), command.groupName()},
                                            {QStringLiteral("href"), command.href()}});
}

DerazCmdHelpViewDataDelegate::RowList
DerazCmdHelpViewDataDelegate::rowsWithCommands(const QList<std::shared_ptr<DerazCommand>> &commands)
{
    RowList rows;
    rows.reserve(commands.size());
    for (const auto &command : commands) {
        if (command)
            rows.append(rowWithCommand(*command));
    }
    return rows;
}
