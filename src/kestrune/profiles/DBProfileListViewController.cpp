#include <kestrune/profiles/DBProfileListViewController.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/Localized.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/records/DBProfileDAO.h>
#include <kestrune/profiles/DBProfileListViewDataDelegate.h>
#include <kestrune/profiles/DBProfileState.h>
#include <kestrune/profiles/DBProfileStateManager.h>
#include <kestrune/profiles/ProfileWrites.h>
#include <kestrune/tree/DarkListLook.h>
#include <kestrune/tree/ToolbarItems.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QPointer>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QHeaderView>

using Kestrune::L;

DBProfileListViewController::DBProfileListViewController(QWidget *parent)
    : X3TableViewXibController(parent)
{
}

DBProfileListViewController::~DBProfileListViewController() = default;

DBProfileListViewDataDelegate *DBProfileListViewController::dataDelegate()
{
    if (!m_dataDelegate)
        m_dataDelegate = new DBProfileListViewDataDelegate(this);
    return m_dataDelegate;
}

std::shared_ptr<DBProfileState> DBProfileListViewController::stateDelegate() const
{
    return DBProfileStateManager::sharedInstance().state();
}

void DBProfileListViewController::awakeFromNib()
{
    X3TableViewXibController::awakeFromNib();
    setUpToolBarConfig();
    registerDBProfileListUpdateNotificatio();
    fetchData();
}

void DBProfileListViewController::registerDBProfileListUpdateNotificatio()
{
    Bastwick::NotificationCenter::defaultCenter().addObserver(this, kDBProfileListAddMsg,
                                                              [this](const auto &) { fetchData(); });
}

XXXNSTableColumnFieldList DBProfileListViewController::tableColumnsDef() const
{
    XXXNSTableColumnField column;
    column.setTitle(QStringLiteral("Profile List"));
    column.setIdentifier(QStringLiteral("name"));
    column.setWidth(100);
    column.setMinWidth(100);
    column.setEditable(true);
    column.setHeaderAlignment(XXXNSTableColumnField::kAlignLeft);
    column.setDataAlignment(XXXNSTableColumnField::kAlignLeft);
    column.setCellType(XXXNSTableColumnField::kTextCell);
    return {column};
}

QList<XXXButtonToolBarItem> DBProfileListViewController::toolbarItemsConfig() const
{
    return Kestrune::addRemoveReloadItems(QStringLiteral("CreateNewProfile"),
                                          QStringLiteral("DeleteSeletedProfile"), QStringLiteral("flexible"));
}

void DBProfileListViewController::toolButtonClicked(QAbstractButton *sender)
{
    Kestrune::runAddRemoveReloadAction(
        sender, [this] { createNewProfile(); }, [this] { dropProfile(); }, [this] { refresh(); });
}

void DBProfileListViewController::tableViewDelegateConfig()
{
    QTableView *table = tableView();
    dataDelegate()->setOwner(table);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setFrameShape(QFrame::NoFrame);
    table->setShowGrid(false);
    Kestrune::applyDarkListLook(table, this);
    QPointer<DBProfileListViewController> self(this);
    dataDelegate()->callback = [self](const Pavisade::TableRowPtr &row) {
        const auto profileRow = std::dynamic_pointer_cast<DBProfileRow>(row);
        if (self && profileRow)
            self->stateDelegate()->profileSelectedChanged(profileRow->profile());
    };
    dataDelegate()->rowObjectValueChangedCallback = [self](const Pavisade::TableRowPtr &row,
                                                           const Pavisade::TableRowPtr &, qsizetype) {
        const auto profileRow = std::dynamic_pointer_cast<DBProfileRow>(row);
        if (self && profileRow && profileRow->profile())
            Kestrune::saveProfileOrWarn(profileRow->profile(), self->alertWindow());
    };
}

void DBProfileListViewController::fetchData()
{
    QPointer<DBProfileListViewController> self(this);
    Bastwick::globalQueue()->async([self] {
        const auto dao = DBProfileDAO::create();
        const QList<std::shared_ptr<DBProfile>> profiles =
            dao ? dao->findAllProfiles() : QList<std::shared_ptr<DBProfile>>();
        Bastwick::mainQueue()->async([self, profiles] {
            if (!self)
                return;
            self->dataDelegate()->setProfiles(profiles);
            if (!profiles.isEmpty()) {
                self->stateDelegate()->profileSelectedChanged(profiles.first());
                QTableView *table = self->tableView();
                table->selectionModel()->select(self->dataDelegate()->index(0, 0),
                                                QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
            }
            emit self->profilesFetched();
        });
    });
}

void DBProfileListViewController::createNewProfile()
{
    auto profile = std::make_shared<DBProfile>();
    profile->setName(QStringLiteral("untitledProfile"));
    profile->setAutoLogin(true);
    Kestrune::saveProfileOrWarn(profile, alertWindow());
    fetchData();
}

void DBProfileListViewController::dropProfile()
{
    const QModelIndexList rows = tableView()->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const std::shared_ptr<DBProfile> profile = dataDelegate()->profileAt(rows.first().row());
    if (!profile)
        return;
    const QString text = L(QStringLiteral("ProfileDeleteMessage")).arg(profile->name());
    QPointer<DBProfileListViewController> self(this);
    Kestrune::confirmWarning(
        alertWindow(), text,
        [self, profile](qint64 button) {
            XXXLog(QStringLiteral("button pressed %1").arg(button));
            if (!self)
                return;
            // The row may have moved while the question was open: remove it by profile.
            DBProfileListViewDataDelegate *rows = self->dataDelegate();
            for (qsizetype row = 0; row < rows->itemCount(); ++row) {
                if (rows->profileAt(row) == profile) {
                    rows->deleteDataAtIndex(row);
                    break;
                }
            }
            // A row that stays stored comes back, so the list shows what the store holds.
            if (!Kestrune::deleteProfileOrWarn(profile, self->alertWindow()))
                self->fetchData();
            Bastwick::NotificationCenter::defaultCenter().post(kDBProfileListRemoveMsg,
                                                               QVariant::fromValue(profile));
        },
        [] { XXXLog(QStringLiteral("dropTable cancelled")); });
}

QWidget *DBProfileListViewController::alertWindow()
{
    return parentWindow() ? parentWindow() : window();
}
