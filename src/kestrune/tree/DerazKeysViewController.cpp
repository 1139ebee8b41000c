#include <kestrune/tree/DerazKeysViewController.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/records/DBProfileDAO.h>
#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/sheets/DerazAddKeyPanel.h>
#include <kestrune/keys/sheets/DerazUpdatePanel.h>
#include <kestrune/tree/DarkListLook.h>
#include <kestrune/tree/DerazConnnectionWindowController.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>
#include <kestrune/tree/ToolbarItems.h>

#include <pavisade/sheets/AlertSheet.h>
#include <pavisade/sheets/SheetHost.h>
#include <pavisade/trees/OutlineViewExtension.h>

#include <bastwick/ByteText.h>
#include <bastwick/URLMasking.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtGui/QPainter>
#include <QtGui/QPolygonF>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QHeaderView>

using Kestrune::L;

namespace {

// How long a key read may take before the tree shows its spinner.
constexpr int kKeyReadSpinnerDelayMs = 300;

QByteArray keyBytes(const QVariant &name)
{
    return name.metaType() == QMetaType::fromType<QByteArray>() ? name.toByteArray()
                                                                : Bastwick::bytesFromText(name.toString());
}

// Key names as posted: a list (of byte arrays or texts), one name, or nothing.
QByteArrayList keyNames(const QVariant &names)
{
    const QMetaType type = names.metaType();
    if (!names.isValid())
        return {};
    if (type == QMetaType::fromType<QByteArrayList>())
        return names.value<QByteArrayList>();
    if (type == QMetaType::fromType<QStringList>() || type == QMetaType::fromType<QVariantList>()) {
        QByteArrayList keys;
        for (const QVariant &name : names.toList())
            keys.append(keyBytes(name));
        return keys;
    }
    return {keyBytes(names)};
}

} // namespace

void DerazKeysView::drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const
{
    if (!model() || !model()->hasChildren(index))
        return;
    // A small triangle in the last indentation step: right when closed, down when open.
    const int step = indentation();
    const QRectF cell(rect.right() - step + 1, rect.top(), step, rect.height());
    const QPointF c = cell.center();
    const qreal r = 3.5;
    QPolygonF arrow;
    if (isExpanded(index))
        arrow << QPointF(c.x() - r, c.y() - r / 2) << QPointF(c.x() + r, c.y() - r / 2)
              << QPointF(c.x(), c.y() + r / 2 + 1);
    else
        arrow << QPointF(c.x() - r / 2, c.y() - r) << QPointF(c.x() - r / 2, c.y() + r)
              << QPointF(c.x() + r / 2 + 1, c.y());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette().color(QPalette::WindowText));
    painter->drawPolygon(arrow);
    painter->restore();
}

DerazKeysViewController::DerazKeysViewController(QWidget *parent)
    : X3TreeViewXibController(parent)
{
}

DerazKeysViewController::~DerazKeysViewController()
{
    if (m_joinedViewState)
        dbViewState()->removeDelegate(this);
}

std::shared_ptr<SimpleDBViewState> DerazKeysViewController::dbViewState() const
{
    return SimpleDBStateManager::sharedInstance().dbViewState();
}

DerazConnnectionWindowController *DerazKeysViewController::derazConnnectionWindowController()
{
    if (!m_connectionWindow) {
        m_connectionWindow = new DerazConnnectionWindowController(this);
        m_connectionWindow->setOwnerWindow(parentWindow());
        m_connectionWindow->setDbTreeViewDataDelegate(m_dataDelegate);
    }
    return m_connectionWindow;
}

// The interface: the tree (its own scrolling view) with the fixed parts of its set-up.
void DerazKeysViewController::loadInterface()
{
    m_tree = new DerazKeysView(this);
    m_tree->setObjectName(QStringLiteral("derazKeysView"));
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setFrameShape(QFrame::NoFrame);
    m_tree->header()->hide();
    m_tree->setIconSize(QSize(16, 16));
    // The one column always spans the pane: no sideways scrolling.
    m_tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tree->header()->setStretchLastSection(true);

    // A one-pixel line between the tree and the toolbar strip.
    m_hLineNox = new QFrame(this);
    m_hLineNox->setObjectName(QStringLiteral("hLineNox"));
    m_hLineNox->setFrameShape(QFrame::HLine);
    m_hLineNox->setFrameShadow(QFrame::Plain);
    m_hLineNox->setLineWidth(1);
    QPalette line = m_hLineNox->palette();
    line.setColor(QPalette::WindowText, QColor(0x3a, 0x40, 0x46));
    m_hLineNox->setPalette(line);
}

QAbstractScrollArea *DerazKeysViewController::derazKeysViewScrollView() const
{
    return m_tree;
}

Pavisade::OutlineView *DerazKeysViewController::treeXibView()
{
    return m_tree;
}

QAbstractScrollArea *DerazKeysViewController::treeViewXibScrollView()
{
    return derazKeysViewScrollView();
}

void DerazKeysViewController::treeViewStyleConfig()
{
    treeView()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The tree and the screen behind it share the dark background.
    Kestrune::applyDarkListLook(treeView(), this);
}

XXXNSTableColumnFieldList DerazKeysViewController::treeColumnsDef() const
{
    return DerazKeysViewDataDelegate::treeColumnsDef();
}

void DerazKeysViewController::treeViewDelegateConfig()
{
    if (!m_dataDelegate) {
        m_dataDelegate = new DerazKeysViewDataDelegate(nullptr, nullptr, this);
        // A success stops the spinner through the view state; a failure has nothing to
        // wait for once no other connect is under way.
        connect(m_dataDelegate, &DerazKeysViewDataDelegate::connectFinished, this, [this](bool succeeded) {
            if (!succeeded && m_dataDelegate->connectsInFlight() == 0)
                hideActivityView();
        });
    }
    m_dataDelegate->becomeDelegateOf(treeView());
    m_dataDelegate->callback = [](const XXXTreeViewDataDelegate::Node &,
                                  const XXXTreeViewDataDelegate::Node &) {};
    treeView()->header()->setSectionResizeMode(0, QHeaderView::Stretch);
}

// The tree screen's awakening first (look, column, model, column width), then the
// screen's own: the view state, the notifications, the double click, the toolbar, and
// the automatic connection.
void DerazKeysViewController::awakeFromNib()
{
    X3TreeViewXibController::awakeFromNib();
    dbViewState()->addDelegate<SimpleDBStateDelegate>(this, Bastwick::mainQueue());
    m_joinedViewState = true;
    registerNotifications();
    connect(treeView(), &Pavisade::OutlineView::doubleClicked, this,
            [this](const QModelIndex &index) { doubleClickRow(index); });
    setUpToolBarConfig();
    layoutToolBar();
    hideActivityView();
    layoutTree();
    autoLogin();
}

void DerazKeysViewController::registerNotifications()
{
    auto &center = Bastwick::NotificationCenter::defaultCenter();
    center.addObserver(this, kDerazAddKeyMsg, [this](const auto &) { addNewKey(); });
    center.addObserver(this, kDerazUpdateKeyMsg, [this](const auto &n) { updateKey(n.object); });
    center.addObserver(this, kConnectionDBMsg, [this](const auto &) { showConnectionWindow(); });
    center.addObserver(this, kCloseConnectionMsg, [this](const auto &) { closeConnection(); });
    center.addObserver(this, kDerazRemoveKeyMsg, [this](const auto &n) { removeKeyWithName(n.object); });
    center.addObserver(this, kDerazRemoveAllKeyInDBMsg,
                       [this](const auto &n) { removeAllKeyWithNodeURL(n.object); });
    center.addObserver(this, kDBMagicMsg, [this](const auto &) { magicData(); });
    center.addObserver(this, kDBProfileRequestConnectMsg, [this](const auto &n) {
        if (const auto profile = n.object.template value<std::shared_ptr<DBProfile>>())
            connectProfile(profile);
    });
    center.addObserver(this, kDBImportDataNotify, [this](const auto &) { refresh(); });
}

// The interface keeps the tree over the screen; the tree screen then shares the column
// width and places the toolbar.
void DerazKeysViewController::resizeEvent(QResizeEvent *event)
{
    layoutTree();
    X3TreeViewXibController::resizeEvent(event);
}

void DerazKeysViewController::layoutTree()
{
    if (!m_tree)
        return;
    const int bar = hasToolBar() ? int(toolbarParentViewDefaultHeight()) : 0;
    const int line = bar > 0 ? 1 : 0;
    m_tree->setGeometry(0, 0, width(), qMax(0, height() - bar - line));
    m_hLineNox->setGeometry(0, qMax(0, height() - bar - line), width(), line);
    m_hLineNox->setVisible(line > 0);
}

Pavisade::TreeNodeList DerazKeysViewController::selectedNodes()
{
    return Pavisade::itemsAtIndexSet(treeView(), Pavisade::selectedRowIndexes(treeView()));
}

QList<XXXButtonToolBarItem> DerazKeysViewController::toolbarItemsConfig() const
{
    return Kestrune::addRemoveReloadItems(QStringLiteral("CreateNewTable"),
                                          QStringLiteral("DeleteSeletedTable"), QStringLiteral("info"));
}

void DerazKeysViewController::toolButtonClicked(QAbstractButton *sender)
{
    Kestrune::runAddRemoveReloadAction(
        sender, [this] { addNewKey(); }, [this] { removeKey(); }, [this] { refresh(); });
}

// --- Operations --------------------------------------------------------------------------------

void DerazKeysViewController::refresh()
{
    displayActivityView();
    m_dataDelegate->refresh();
    if (DataStoreBO::sharedInstance().dataStoreProfiles().isEmpty())
        hideActivityView();
}

void DerazKeysViewController::connectProfile(const std::shared_ptr<DBProfile> &profile)
{
    m_dataDelegate->connectToDBStoreWithProfile(profile);
}

void DerazKeysViewController::showConnectionWindow()
{
    derazConnnectionWindowController()->showWindow();
}

void DerazKeysViewController::autoLogin()
{
    // Without a local database there are no saved profiles to read.
    const auto dao = DBProfileDAO::create();
    const QList<std::shared_ptr<DBProfile>> profiles =
        dao ? dao->findAllProfiles() : QList<std::shared_ptr<DBProfile>>();
    int connected = 0;
    bool refused = false;
    for (const std::shared_ptr<DBProfile> &profile : profiles) {
        if (!profile->autoLogin())
            continue;
        if (profile->host().trimmed().isEmpty()) {
            // A profile without a host cannot connect; say so instead of trying.
            refused = true;
            // At start the main window is not on screen yet: the alert waits for it.
            const QString text = L(QStringLiteral("ProfileHostNil")).arg(profile->name());
            Pavisade::whenWindowShown(parentWindow(), this,
                                      [this, text] { Kestrune::showWarning(parentWindow(), text); });
            continue;
        }
        profile->urlFormat();
        m_dataDelegate->connectToDBStoreWithProfile(profile, true);
        ++connected;
    }
    if (connected > 0)
        displayActivityView();
    if (connected == 0 || refused)
        showConnectionWindow();
}

void DerazKeysViewController::closeConnection()
{
    const Pavisade::TreeNodeList nodes = selectedNodes();
    if (nodes.isEmpty()) {
        warn(QStringLiteral("ConnnectNodeSelectedNil"));
        return;
    }
    // A selected database or key stands for the connection it belongs to; each
    // connection is named once.
    QVariantList ids;
    QStringList descriptions;
    for (const auto &selected : nodes) {
        if (!selected)
            continue;
        const Pavisade::TreeNodePtr node =
            selected->value(QStringLiteral("type")).toString() == kStoreNode
                ? selected
                : m_dataDelegate->findConnectionNodeMap(
                      DataStoreBO::sharedInstance().profileByNodeURL(selected->url()));
        if (!node)
            continue;
        const qint64 id = node->value(QStringLiteral("ID")).toLongLong();
        if (ids.contains(QVariant(id)))
            continue;
        ids.append(id);
        descriptions.append(QStringLiteral(" %1 at %2:%3")
                                .arg(node->value(QStringLiteral("name")).toString(),
                                     node->value(QStringLiteral("host")).toString())
                                .arg(node->value(QStringLiteral("port")).toLongLong()));
    }
    if (ids.isEmpty())
        return;
    const QString text = L(QStringLiteral("CloseConnectionMessage")).arg(descriptions.join(QLatin1Char(',')));
    QPointer<DerazKeysViewController> self(this);
    Kestrune::confirmWarning(
        parentWindow(), text,
        [self, ids](qint64) {
            if (!self)
                return;
            DataStoreBO::sharedInstance().closeDataStoreByConnIDs(ids);
            // The screens that showed a database of a closed connection show none now.
            const auto state = self->dbViewState();
            const QString current = state->currentNodeURL();
            if (!current.isEmpty() && ids.contains(QVariant(DataStoreBO::connIDByNodeURL(current)))) {
                state->setCurrentNodeURL(QString());
                state->dataStoreDerazDBChanged(QString());
            }
            self->refresh();
        },
        [] { XXXLog(QStringLiteral("dropTable cancelled")); });
}

void DerazKeysViewController::doubleClickRow(const QModelIndex &index)
{
    const auto node = m_dataDelegate->nodeForIndex(index);
    if (!node || node->value(QStringLiteral("type")).toString() != kDerazKeyNode)
        return;
    const auto db = SimpleDBStateManager::sharedInstance().currentDatabase();
    if (!db)
        return;
    // One sheet at a time: clicks while the key is being read or its sheet is open do
    // nothing (the sheet is modal; a second one would stack on it).
    if (m_keyReadPending || isSheetOpen())
        return;
    m_keyReadPending = true;
    const quint64 read = ++m_keyReadCount;
    QPointer<DerazKeysViewController> self(this);
    const QString name = node->value(QStringLiteral("name")).toString();
    // A read held back behind a long operation shows that it is under way.
    Bastwick::after(kKeyReadSpinnerDelayMs, [self, read] {
        if (self && self->m_keyReadPending && self->m_keyReadCount == read) {
            self->m_keyReadSpinning = true;
            self->displayActivityView();
        }
    });
    db->fetchKeyInfo(
        DerazKeysViewDataDelegate::keyOfNode(node),
        [self, name](const std::optional<DerazUnit> &unit) {
            if (!self)
                return;
            self->endKeyRead();
            if (unit)
                Bastwick::NotificationCenter::defaultCenter().post(kDerazUpdateKeyMsg,
                                                                   QVariant::fromValue(*unit));
            else
                self->showWarningInfo(tr("The key \"%1\" no longer exists.").arg(name));
        },
        [self](const Bastwick::Error &error) {
            if (!self)
                return;
            self->endKeyRead();
            self->showWarningInfo(error.description);
        });
}

void DerazKeysViewController::endKeyRead()
{
    m_keyReadPending = false;
    if (m_keyReadSpinning) {
        m_keyReadSpinning = false;
        hideActivityView();
    }
}

bool DerazKeysViewController::isSheetOpen() const
{
    return (m_derazAddKeyPanel && m_derazAddKeyPanel->isVisible()) ||
           (m_derazUpdatePanel && m_derazUpdatePanel->isVisible());
}

void DerazKeysViewController::adoptSheet(DerazKeyPanel *sheet)
{
    // The sheet stays a window of its own: its parent is set keeping its window flags.
    sheet->setParent(this, sheet->windowFlags());
}

DerazAddKeyPanel *DerazKeysViewController::derazAddKeyPanel()
{
    if (!m_derazAddKeyPanel) {
        m_derazAddKeyPanel = new DerazAddKeyPanel;
        adoptSheet(m_derazAddKeyPanel);
    }
    return m_derazAddKeyPanel;
}

DerazUpdatePanel *DerazKeysViewController::derazUpdatePanel()
{
    if (!m_derazUpdatePanel) {
        m_derazUpdatePanel = new DerazUpdatePanel;
        adoptSheet(m_derazUpdatePanel);
    }
    return m_derazUpdatePanel;
}

void DerazKeysViewController::addNewKey()
{
    derazAddKeyPanel()->beginWithUnit(parentWindow(), QVariant());
}

void DerazKeysViewController::updateKey(const QVariant &unit)
{
    // Several requests for one sheet (a double click in the tree and one in the browser)
    // open it once.
    if (isSheetOpen())
        return;
    derazUpdatePanel()->beginWithUnit(parentWindow(), unit);
}

void DerazKeysViewController::dbChangedNofifyIfNeeded(const QString &nodeURL)
{
    const auto db =
        std::dynamic_pointer_cast<DerazDatabase>(DataStoreBO::sharedInstance().databaseByNodeURL(nodeURL));
    if (!db || db == m_database)
        return;
    m_database = db;
    const auto state = dbViewState();
    db->selectSelf([state, nodeURL](const std::optional<Bastwick::Error> &error) {
        if (!error)
            state->dataStoreDerazDBChanged(nodeURL);
    });
}

// --- View state ---------------------------------------------------------------------------------

void DerazKeysViewController::dataStoreConnectCompletion(SimpleDBState *)
{
    hideActivityView();
}

void DerazKeysViewController::dataStoreSelectedUnitChanged(SimpleDBViewState *, const QString &nodeURL)
{
    XXXLog(QStringLiteral("dataStoreSelectedUnitChanged nodeURL %1").arg(Bastwick::maskedURL(nodeURL)));
    dbChangedNofifyIfNeeded(nodeURL);
}

void DerazKeysViewController::dataStoreSelectedSchemaChanged(SimpleDBState *, const QString &nodeURL)
{
    XXXLog(QStringLiteral("dataStoreSelectedSchemaChanged nodeURL %1").arg(Bastwick::maskedURL(nodeURL)));
    dbChangedNofifyIfNeeded(nodeURL);
}

void DerazKeysViewController::dataStoreDerazKeyChanged(SimpleDBViewState *, const QString &,
                                                       const QByteArray &)
{
    refresh();
}

void DerazKeysViewController::dataStoreDerazKeyRemoved(SimpleDBViewState *, const QString &,
                                                       const QByteArrayList &)
{
    refresh();
}

void DerazKeysViewController::dataStoreDerazKVChanged(SimpleDBViewState *, const QString &,
                                                      const QVariantList &)
{
    refresh();
}

// --- Key removal and sample data ------------------------------------------------------------

void DerazKeysViewController::warn(const QString &key)
{
    Kestrune::showWarning(parentWindow(), L(key));
}

void DerazKeysViewController::reportKeysRemoved(const std::optional<Bastwick::Error> &error,
                                                const QString &nodeURL, const QByteArrayList &keys)
{
    if (error) {
        showWarningInfo(error->description);
        return;
    }
    dbViewState()->dataStoreDerazKeyRemoved(nodeURL, keys);
}

void DerazKeysViewController::removeKey()
{
    const Pavisade::TreeNodeList nodes = selectedNodes();
    if (nodes.isEmpty() || dbViewState()->currentNodeURL().isEmpty()) {
        warn(QStringLiteral("KeySelectedNil"));
        return;
    }
    // Keys may be selected in several databases: each goes to the database it was
    // selected in, which its node URL names.
    QStringList names;
    QStringList databases;
    QHash<QString, QByteArrayList> keysByDatabase;
    for (const auto &node : nodes) {
        if (!node || node->value(QStringLiteral("type")).toString() != kDerazKeyNode)
            continue;
        const QString dbURL = DataStoreBO::dbStoreURLFromNodeURL(node->url());
        if (!keysByDatabase.contains(dbURL))
            databases.append(dbURL);
        keysByDatabase[dbURL].append(DerazKeysViewDataDelegate::keyOfNode(node));
        names.append(node->value(QStringLiteral("name")).toString());
    }
    if (names.isEmpty())
        return;
    const QString text = L(QStringLiteral("DropKeyMessage")).arg(names.join(QLatin1Char(',')));
    QPointer<DerazKeysViewController> self(this);
    Kestrune::confirmWarning(
        parentWindow(), text,
        [self, databases, keysByDatabase](qint64 button) {
            XXXLog(QStringLiteral("button pressed %1").arg(button));
            if (!self)
                return;
            for (const QString &dbURL : databases) {
                const auto db = std::dynamic_pointer_cast<DerazDatabase>(
                    DataStoreBO::sharedInstance().databaseByNodeURL(dbURL));
                if (!db) {
                    // The connection was closed while the question was open.
                    self->warn(QStringLiteral("DataBaseSelectedNil"));
                    continue;
                }
                const QByteArrayList keys = keysByDatabase.value(dbURL);
                db->removeKeys(keys, self->removalCompletion(dbURL, keys));
            }
        },
        [] { XXXLog(QStringLiteral("dropTable cancelled")); });
}

DerazKeysViewController::ErrorCompletion
DerazKeysViewController::removalCompletion(const QString &nodeURL, const QByteArrayList &keys)
{
    QPointer<DerazKeysViewController> self(this);
    return [self, nodeURL, keys](const std::optional<Bastwick::Error> &error) {
        if (self)
            self->reportKeysRemoved(error, nodeURL, keys);
    };
}

void DerazKeysViewController::removeKeyWithName(const QVariant &names)
{
    const QByteArrayList keys = keyNames(names);
    if (const auto db = currentDatabaseOrWarn())
        db->removeKeys(keys, removalCompletion(dbViewState()->currentNodeURL(), keys));
}

void DerazKeysViewController::removeAllKeyWithNodeURL(const QVariant &)
{
    if (const auto db = currentDatabaseOrWarn())
        db->removeAllKey(removalCompletion(dbViewState()->currentNodeURL(), {}));
}

std::shared_ptr<DerazDatabase> DerazKeysViewController::currentDatabaseOrWarn()
{
    const auto db = SimpleDBStateManager::sharedInstance().currentDatabase();
    if (!db)
        warn(QStringLiteral("DataBaseSelectedNil"));
    return db;
}

void DerazKeysViewController::magicData()
{
    const auto db = SimpleDBStateManager::sharedInstance().currentDatabase();
    if (!db || !treeView()->selectionModel()->hasSelection()) {
        warn(QStringLiteral("DataBaseSelectedNil"));
        return;
    }
    const QString text = L(QStringLiteral("MagicTestDataMessage"))
                             .arg(AppPreference::sharedPreference()->magicNumbers())
                             .arg(db->name());
    QPointer<DerazKeysViewController> self(this);
    const QString nodeURL = dbViewState()->currentNodeURL();
    Kestrune::confirmWarning(
        parentWindow(), text,
        [self, db, nodeURL](qint64 button) {
            XXXLog(QStringLiteral("button pressed %1").arg(button));
            // Read again: the preferences window may have changed it meanwhile.
            const qint64 count = AppPreference::sharedPreference()->magicNumbers();
            db->magicData(count, [self, nodeURL](const std::optional<Bastwick::Error> &error) {
                if (!self)
                    return;
                if (error)
                    self->showWarningInfo(error->description);
                else
                    self->dbViewState()->dataStoreDerazKeyChanged(nodeURL, QByteArray());
            });
        },
        [] { XXXLog(QStringLiteral("magic cancelled")); });
}
