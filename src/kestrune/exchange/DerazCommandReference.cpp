#include <kestrune/exchange/DerazCommandReference.h>

#include <kestrune/data/state/DerazCommand.h>
#include <kestrune/exchange/DerazCommandReader.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QFile>

int derazCmdParse(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        XXXLogWarning(
            QStringLiteral("command reference %1 could not be read: %2").arg(path, file.errorString()));
        return 0;
    }
    int stored = 0;
    for (const DerazCommandEntry &entry : DerazCommandReader::parse(file.readAll())) {
        DerazCommand command;
        command.setGroupName(entry.groupName);
        command.setCommand(entry.command);
        command.setArgs(entry.args);
        command.setHref(entry.href);
        command.setDesc(entry.desc);
        XXXLog(QStringLiteral("syntax %1").arg(entry.args));
        if (command.save())
            ++stored;
    }
    return stored;
}
