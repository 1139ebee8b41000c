#include <kestrune/data/state/DerazCommandDAO.h>

#include <kestrune/data/records/RecordFields.h>
#include <kestrune/data/state/DerazCommand.h>

#include <corbelan/sqlite/XXXModelRef.h>

namespace {

QList<std::shared_ptr<DerazCommand>> commandsOf(const QList<XXXModelRef> &models)
{
    QList<std::shared_ptr<DerazCommand>> commands;
    for (const XXXModelRef &model : models) {
        if (auto command = model.as<DerazCommand>())
            commands.append(command);
    }
    return commands;
}

} // namespace

DerazCommandDAO::DerazCommandDAO(QObject *parent)
    : XXXBaseDAO(parent)
{
    if (!isValid())
        return;
    Kestrune::RecordFields::describeTable(*this, QStringLiteral("DerazCommand"), DerazCommand::fieldNames(),
                                          {QStringLiteral("ID")});
}

DerazCommandDAO::~DerazCommandDAO() = default;

std::shared_ptr<DerazCommandDAO> DerazCommandDAO::create()
{
    auto dao = std::make_shared<DerazCommandDAO>();
    return dao->isValid() ? dao : nullptr;
}

QList<std::shared_ptr<DerazCommand>> DerazCommandDAO::findAllCommands()
{
    return commandsOf(findAll());
}

QList<std::shared_ptr<DerazCommand>> DerazCommandDAO::findCommandsInGroup(const QString &groupName)
{
    return commandsOf(findByAttributes({{QStringLiteral("groupName"), groupName}}));
}

QList<std::shared_ptr<DerazCommand>> DerazCommandDAO::searchCommands(const QString &text)
{
    const QString pattern = QLatin1Char('%') + text + QLatin1Char('%');
    return commandsOf(
        sqlQuery(QStringLiteral("select * from DerazCommand where command like ?"), QVariantList{pattern}));
}
