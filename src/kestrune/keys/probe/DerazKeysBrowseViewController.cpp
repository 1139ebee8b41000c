#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/exchange/KeyBrowserExchange.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewDataDelegate.h>

#include <pavisade/panels/XXXProgressIndicatorPanel.h>
#include <pavisade/sheets/AlertSheet.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/viewcontrollers/Localization.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QDesktopServices>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

using Kestrune::L;

DerazKeysBrowseViewController::DerazKeysBrowseViewController(QWidget *parent)
    : DerazKeysPageViewController(parent)
{
    setObjectName(QStringLiteral("DerazKeysBrowseViewController"));
}

DerazKeysBrowseViewController::~DerazKeysBrowseViewController()
{
    removeDBViewStateObserver();
}

DerazKeysBrowseViewDataDelegate *DerazKeysBrowseViewController::makeDataDelegate()
{
    return new DerazKeysBrowseViewDataDelegate(this);
}

QList<XXXButtonToolBarItem> DerazKeysBrowseViewController::toolbarItemsConfig() const
{
    return {imageItem(1, QStringLiteral("toolbar-add-w"), QStringLiteral("InsertNewData")),
            imageItem(2, QStringLiteral("toolbar-remove-w"), QStringLiteral("DeleteSeletedRowData")),
            imageItem(4, QStringLiteral("toolbar-addplus-w"), QStringLiteral("RandomGenerateData")),
            imageItem(5, QStringLiteral("toolbar-import-w"), QStringLiteral("ImportDataFromFile")),
            imageItem(6, QStringLiteral("toolbar-export-w"), QStringLiteral("ExportDataAsFile")),
            imageItem(7, QStringLiteral("toolbar-trash-w"), QStringLiteral("EmptyAllData")),
            imageItem(8, QStringLiteral("toolbar-refresh-w"), QStringLiteral("ReloadData")),
            labelItem(QStringLiteral("info"), 0, QString(), true),
            imageItem(9, QStringLiteral("toolbar-first-w"), QStringLiteral("GoFirstPage")),
            imageItem(10, QStringLiteral("toolbar-pre-w"), QStringLiteral("GoPrePage")),
            labelItem(QStringLiteral("pages"), 80, QStringLiteral("0/0"), true),
            imageItem(11, QStringLiteral("toolbar-next-w"), QStringLiteral("GoNextPage")),
            imageItem(12, QStringLiteral("toolbar-last-w"), QStringLiteral("GoLastPage"))};
}

void DerazKeysBrowseViewController::awakeFromNib()
{
    DerazKeysPageViewController::awakeFromNib();
    tableView()->setObjectName(QStringLiteral("derazKeysBrowseView"));
    registerTableRowDoubleClick();
    setUpToolBarConfig();
    addDBViewStateObserver();
    contextMenuActionConfig();
    setSortColumns();
}

void DerazKeysBrowseViewController::contextMenuActionConfig()
{
    Pavisade::gi18Location(exportMenu());
}

void DerazKeysBrowseViewController::toolButtonClicked(QAbstractButton *sender)
{
    const qint64 tag = sender ? sender->property("tag").toLongLong() : 0;
    switch (tag) {
    case 1:
        addKey();
        break;
    case 2:
        removeKey();
        break;
    case 4:
        magicData();
        break;
    case 5:
        importBtnClicked(sender);
        break;
    case 6:
        exportBtnClicked(sender);
        break;
    case 7:
        trashAllKey();
        break;
    default:
        pagingButtonClicked(tag);
        break;
    }
}

// --- Import and export ----------------------------------------------------------------------

KeyBrowserExchange *DerazKeysBrowseViewController::exchange()
{
    if (m_exchange)
        return m_exchange;
    m_exchange = new KeyBrowserExchange(this);
    connect(m_exchange, &KeyBrowserExchange::warningRequested, this,
            [this](const QString &key) { showWarningKey(key); });
    connect(m_exchange, &KeyBrowserExchange::errorRequested, this,
            [this](const QString &message) { showErrorInfo(message); });
    connect(m_exchange, &KeyBrowserExchange::infoRequested, this, [this](const QString &message) {
        // The user chose to close the window: the cancelled import needs no word.
        if (!m_closeAfterImport)
            showInfoInfo(message);
    });
    connect(m_exchange, &KeyBrowserExchange::importStarted, this, [this](const QString &text) {
        XXXProgressIndicatorPanel *panel = progressIndicatorPanel();
        panel->updateIndicatorInfo(text);
        panel->setCancellable(true);
        panel->cancelButton()->setEnabled(true);
        panel->beginOnWindow(parentWindow());
    });
    connect(m_exchange, &KeyBrowserExchange::importCancelling, this, [this] {
        XXXProgressIndicatorPanel *panel = progressIndicatorPanel();
        panel->updateIndicatorInfo(tr("Cancelling the import..."));
        panel->cancelButton()->setEnabled(false);
    });
    connect(m_exchange, &KeyBrowserExchange::importEnded, this, [this] {
        progressIndicatorPanel()->endPanel();
        if (m_closeAfterImport)
            closeWindowAfterImport();
    });
    connect(m_exchange, &KeyBrowserExchange::exportBusyChanged, this, [this](bool busy) {
        if (busy)
            displayActivityView();
        else
            hideActivityView();
    });
    connect(m_exchange, &KeyBrowserExchange::exportInfoChanged, this,
            [this](const QString &text) { showExchangeMessage(text); });
    connect(m_exchange, &KeyBrowserExchange::exportFileReady, this,
            [this](const QString &path) { revealFile(path); });
    return m_exchange;
}

QMenu *DerazKeysBrowseViewController::exportMenu()
{
    return exchange()->exportMenu();
}

void DerazKeysBrowseViewController::showExchangeMessage(const QString &text)
{
    // A line of its own, wrapped: the toolbar's label has room for a few words only and
    // would cut the message in the middle.
    if (!m_exchangeMessage) {
        m_exchangeMessage = new QLabel(this);
        m_exchangeMessage->setObjectName(QStringLiteral("exchangeMessage"));
        m_exchangeMessage->setWordWrap(true);
        m_exchangeMessage->setTextFormat(Qt::PlainText);
        m_exchangeMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_exchangeMessage->setText(text);
    m_exchangeMessage->setVisible(!text.isEmpty());
    layoutTableArea();
}

void DerazKeysBrowseViewController::layoutTableArea()
{
    DerazKeysPageViewController::layoutTableArea();
    if (!m_exchangeMessage || m_exchangeMessage->isHidden())
        return;
    constexpr int kMargin = 6;
    const QRect table = tableView()->geometry();
    const int textWidth = qMax(0, width() - 2 * kMargin);
    const int textHeight = m_exchangeMessage->heightForWidth(textWidth);
    const int top = qMax(table.top(), table.bottom() + 1 - textHeight - 2 * kMargin);
    tableView()->setGeometry(table.left(), table.top(), table.width(), top - table.top());
    m_exchangeMessage->setGeometry(kMargin, top + kMargin, textWidth, textHeight);
}

XXXProgressIndicatorPanel *DerazKeysBrowseViewController::progressIndicatorPanel()
{
    if (!m_progressIndicatorPanel) {
        m_progressIndicatorPanel = new XXXProgressIndicatorPanel(QSize(300, 80), this);
        connect(m_progressIndicatorPanel, &XXXProgressIndicatorPanel::cancelRequested, this,
                [this] { exchange()->cancelImport(); });
        connect(m_progressIndicatorPanel, &XXXProgressIndicatorPanel::windowCloseRequested, this,
                [this] { askToCloseDuringImport(); });
    }
    return m_progressIndicatorPanel;
}

void DerazKeysBrowseViewController::askToCloseDuringImport()
{
    if (m_closeQuestion || m_closeAfterImport)
        return;
    QWidget *target = parentWindow() ? parentWindow()->window() : window();
    m_closeQuestion = Pavisade::showConfirmSheetModalForWindow(
        target, tr("An import is running."),
        tr("Cancel the import and close the window? Nothing of the file will be applied."),
        Pavisade::AlertStyleWarning, tr("Keep Importing"), tr("Cancel Import and Close"),
        [this](qint64) {
            m_closeAfterImport = true;
            if (m_exchange && m_exchange->isImporting())
                m_exchange->cancelImport();
            else
                closeWindowAfterImport();
        },
        nullptr);
}

void DerazKeysBrowseViewController::closeWindowAfterImport()
{
    QPointer<QWidget> target = parentWindow() ? parentWindow()->window() : window();
    // Once the import's outcome was handled (and kept quiet): the close then reaches the
    // window as usual.
    QTimer::singleShot(0, this, [this, target] {
        m_closeAfterImport = false;
        if (target)
            target->close();
    });
}

void DerazKeysBrowseViewController::importBtnClicked(QAbstractButton *)
{
    exchange()->importBtnClicked();
}

void DerazKeysBrowseViewController::exportBtnClicked(QAbstractButton *sender)
{
    const QPoint corner = sender ? sender->mapToGlobal(QPoint(0, sender->height() + 4)) : QPoint();
    exchange()->exportBtnClicked(pageTotalNum(), corner);
}

void DerazKeysBrowseViewController::revealFile(const QString &path)
{
    if (m_fileRevealer) {
        m_fileRevealer(path);
        return;
    }
    // No file manager selects a file portably: open the folder that holds it.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

// --- Key actions ----------------------------------------------------------------------------

void DerazKeysBrowseViewController::addKey()
{
    Bastwick::NotificationCenter::defaultCenter().post(kDerazAddKeyMsg);
}

void DerazKeysBrowseViewController::magicData()
{
    Bastwick::NotificationCenter::defaultCenter().post(kDBMagicMsg);
}

void DerazKeysBrowseViewController::removeKey()
{
    const QByteArrayList keys = selectedKeys();
    if (keys.isEmpty()) {
        showWarningKey(QStringLiteral("RemoveItemNil"));
        return;
    }
    const QString text = dropKeyMessage(keys);
    confirm(
        text,
        [keys] {
            Bastwick::NotificationCenter::defaultCenter().post(kDerazRemoveKeyMsg, QVariant::fromValue(keys));
        },
        QStringLiteral("dropTable cancelled"));
}

void DerazKeysBrowseViewController::trashAllKey()
{
    const auto db = currentDatabase();
    if (!db) {
        showWarningKey(QStringLiteral("DataBaseSelectedNil"));
        return;
    }
    const QString nodeURL = stateDelegate()->currentNodeURL();
    const QString text = Kestrune::fillPlaceholder(L(QStringLiteral("EmptyAllKeyMessage")), db->name());
    confirm(
        text,
        [nodeURL] { Bastwick::NotificationCenter::defaultCenter().post(kDerazRemoveAllKeyInDBMsg, nodeURL); },
        QStringLiteral("trashAllKey cancelled"));
}

// --- Key source -----------------------------------------------------------------------------

qsizetype DerazKeysBrowseViewController::keyCount(const DerazDatabase &db) const
{
    return db.numberOfKeys();
}

void DerazKeysBrowseViewController::fetchPage(DerazDatabase &db, const Bastwick::IndexSet &indexes,
                                              std::function<void(const QList<DerazUnit> &)> success,
                                              std::function<void(const Bastwick::Error &)> failure)
{
    db.fetchResultSetForRecordsAtIndexes(indexes, std::move(success), std::move(failure));
}

// --- View state -----------------------------------------------------------------------------

void DerazKeysBrowseViewController::dataStoreConnectCompletion(SimpleDBState *)
{
    if (!currentDatabase())
        return;
    updatePageSizeInfo();
    refreshDataView();
}

void DerazKeysBrowseViewController::dataStoreDerazKVChanged(SimpleDBViewState *, const QString &,
                                                            const QVariantList &)
{
    refreshDataView();
}

void DerazKeysBrowseViewController::dataStoreDerazDBChanged(SimpleDBViewState *, const QString &)
{
    // The pages of the previous database say nothing about this one: start again at its
    // first page.
    updatePageSizeInfo();
    refreshDataView();
}

void DerazKeysBrowseViewController::dataProbeTabIndexChanged(SimpleDBViewState *, const QString &,
                                                             int viewIndex)
{
    if (viewIndex == 0)
        refreshDataView();
}
