#include <kestrune/keys/probe/DerazKeysQueryViewController.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/records/CellText.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/SpinnerReload.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewDataDelegate.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QPointer>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>

using Kestrune::L;

namespace {

constexpr int kMargin = 8;
constexpr int kQueryHeight = 56;
constexpr int kLogHeight = 26;
constexpr int kButtonWidth = 72;

} // namespace

DerazKeysQueryViewController::DerazKeysQueryViewController(QWidget *parent)
    : DerazKeysPageViewController(parent)
{
    setObjectName(QStringLiteral("DerazKeysQueryViewController"));
}

DerazKeysQueryViewController::~DerazKeysQueryViewController()
{
    removeDBViewStateObserver();
}

DerazKeysBrowseViewDataDelegate *DerazKeysQueryViewController::makeDataDelegate()
{
    return new DerazKeysQueryViewDataDelegate(this);
}

QList<XXXButtonToolBarItem> DerazKeysQueryViewController::toolbarItemsConfig() const
{
    return {imageItem(2, QStringLiteral("toolbar-remove-w"), QStringLiteral("DeleteSeletedTable")),
            imageItem(7, QStringLiteral("toolbar-trash-w"), QStringLiteral("EmptyAllData")),
            imageItem(8, QStringLiteral("toolbar-refresh-w"), QStringLiteral("ReloadData")),
            labelItem(QStringLiteral("info"), 0, QString(), false),
            imageItem(9, QStringLiteral("toolbar-first-w"), QStringLiteral("GoFirstPage")),
            imageItem(10, QStringLiteral("toolbar-pre-w"), QStringLiteral("GoPrePage")),
            labelItem(QStringLiteral("pages"), 80, QStringLiteral("0/0"), true),
            imageItem(11, QStringLiteral("toolbar-next-w"), QStringLiteral("GoNextPage")),
            imageItem(12, QStringLiteral("toolbar-last-w"), QStringLiteral("GoLastPage"))};
}

void DerazKeysQueryViewController::loadInterface()
{
    DerazKeysPageViewController::loadInterface();
    m_queryTextView = new QPlainTextEdit(this);
    m_queryTextView->setObjectName(QStringLiteral("queryTextView"));
    m_queryTextView->setPlaceholderText(tr("Key pattern, e.g. user:*"));
    m_queryTextView->setTabChangesFocus(true);
    m_queryTextView->installEventFilter(this);

    m_logTextView = new QPlainTextEdit(this);
    m_logTextView->setObjectName(QStringLiteral("logTextView"));
    m_logTextView->setReadOnly(true);
    m_logTextView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_logTextView->setFrameShape(QFrame::NoFrame);

    m_runButton = new QPushButton(tr("Run"), this);
    m_runButton->setObjectName(QStringLiteral("runButton"));
    connect(m_runButton, &QPushButton::clicked, this, [this] { runButtonClicked(); });
    m_clearButton = new QPushButton(tr("Clear"), this);
    m_clearButton->setObjectName(QStringLiteral("clearButton"));
    connect(m_clearButton, &QPushButton::clicked, this, [this] { clearButtonClicked(); });

    for (QWidget *w : {static_cast<QWidget *>(m_queryTextView), static_cast<QWidget *>(m_logTextView)}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Base, QColor(0x23, 0x27, 0x2a));
        palette.setColor(QPalette::Text, QColor(0xe8, 0xea, 0xec));
        // Dimmer than the text, yet readable on the dark field (contrast about 6:1).
        palette.setColor(QPalette::PlaceholderText, QColor(0xa0, 0xa4, 0xa8));
        w->setPalette(palette);
    }
    // The screen may already have been shown once when its view is made.
    for (QWidget *w : {static_cast<QWidget *>(m_queryTextView), static_cast<QWidget *>(m_logTextView),
                       static_cast<QWidget *>(m_runButton), static_cast<QWidget *>(m_clearButton)})
        w->show();
}

void DerazKeysQueryViewController::awakeFromNib()
{
    DerazKeysPageViewController::awakeFromNib();
    tableView()->setObjectName(QStringLiteral("derazKeysQueryView"));
    setUpToolBarConfig();
    fetchData();
    registerTableRowDoubleClick();
    addDBViewStateObserver();
    m_queryTextView->setFocus();
}

void DerazKeysQueryViewController::layoutTableArea()
{
    if (!m_queryTextView)
        return;
    const int bar = hasToolBar() ? qRound(toolbarParentViewDefaultHeight()) : 0;
    const int w = width();
    const int fieldWidth = qMax(0, w - 3 * kMargin - kButtonWidth);
    m_queryTextView->setGeometry(kMargin, kMargin, fieldWidth, kQueryHeight);
    const int buttonHeight = (kQueryHeight - 4) / 2;
    m_runButton->setGeometry(w - kMargin - kButtonWidth, kMargin, kButtonWidth, buttonHeight);
    m_clearButton->setGeometry(w - kMargin - kButtonWidth, kMargin + kQueryHeight - buttonHeight,
                               kButtonWidth, buttonHeight);
    const int logTop = kMargin + kQueryHeight + 4;
    m_logTextView->setGeometry(kMargin, logTop, qMax(0, w - 2 * kMargin), kLogHeight);
    const int tableTop = logTop + kLogHeight + 4;
    tableView()->setGeometry(0, tableTop, w, qMax(0, height() - bar - tableTop));
}

bool DerazKeysQueryViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_queryTextView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            XXXLog(QStringLiteral("Return was pressed!"));
            runButtonClicked();
        }
    }
    // The field still handles every key itself (Return adds its line break).
    return DerazKeysPageViewController::eventFilter(watched, event);
}

void DerazKeysQueryViewController::toolButtonClicked(QAbstractButton *sender)
{
    const qint64 tag = sender ? sender->property("tag").toLongLong() : 0;
    switch (tag) {
    case 2:
        removeSelectedKey();
        break;
    case 7:
        trashAllQueryKey();
        break;
    default:
        pagingButtonClicked(tag);
        break;
    }
}

void DerazKeysQueryViewController::fetchData()
{
    Kestrune::reloadBehindSpinner(this, [this] { dataDelegate()->reloadData(); });
}

// --- Running a query ------------------------------------------------------------------------

void DerazKeysQueryViewController::runButtonClicked()
{
    m_removalNote.clear();
    runQuery(m_queryTextView->toPlainText());
}

void DerazKeysQueryViewController::runQuery(const QString &typed)
{
    const QString text = typed.trimmed();
    m_logTextView->setPlainText(QString());
    const auto db = currentDatabase();
    if (!db || text.isEmpty())
        return;
    m_query = text;
    QPointer<DerazKeysQueryViewController> self(this);
    db->execQuery(Bastwick::bytesFromText(m_query), [self](const std::optional<Bastwick::Error> &error) {
        if (!self)
            return;
        if (error) {
            self->m_logTextView->setPlainText(error->description);
            return;
        }
        self->updatePageSizeInfo();
        self->refreshDataView();
    });
}

void DerazKeysQueryViewController::clearButtonClicked()
{
    m_queryTextView->setPlainText(QString());
}

void DerazKeysQueryViewController::pageSizeInfoWillChange(qsizetype rows)
{
    const QString found = QStringLiteral("%1  key founded!").arg(rows);
    // The stored query runs again when the key tree reloads after a removal: the count of
    // the removal stays in front until the user runs a query.
    m_logTextView->setPlainText(m_removalNote.isEmpty() ? found
                                                        : m_removalNote + QStringLiteral("  ") + found);
}

qsizetype DerazKeysQueryViewController::keyCount(const DerazDatabase &db) const
{
    return db.numberOfQueryKeys();
}

void DerazKeysQueryViewController::fetchPage(DerazDatabase &db, const Bastwick::IndexSet &indexes,
                                             std::function<void(const QList<DerazUnit> &)> success,
                                             std::function<void(const Bastwick::Error &)> failure)
{
    db.fetchQueryResultSetForRecordsAtIndexes(indexes, std::move(success), std::move(failure));
}

// --- Removing results -----------------------------------------------------------------------

void DerazKeysQueryViewController::removeSelectedKey()
{
    const QByteArrayList keys = selectedKeys();
    if (keys.isEmpty()) {
        showWarningKey(QStringLiteral("RemoveItemNil"));
        return;
    }
    // The rows themselves, not their positions: a sort or a reload may move them before
    // the confirmation ends.
    DerazKeysBrowseViewDataDelegate *model = dataDelegate();
    XXXTableViewDataDelegate::RowList rows;
    for (const QModelIndex &index : tableView()->selectionModel()->selectedRows())
        rows.append(model->itemOfRow(index.row()));
    const QString text = dropKeyMessage(keys);
    QPointer<DerazKeysQueryViewController> self(this);
    confirm(
        text,
        [self, rows, keys] {
            if (self) {
                DerazKeysBrowseViewDataDelegate *model = self->dataDelegate();
                Bastwick::IndexSet shown;
                for (qsizetype i = 0; i < model->itemCount(); ++i) {
                    if (rows.contains(model->itemOfRow(i)))
                        shown.addIndex(i);
                }
                model->deleteDataIndexes(shown);
            }
            Bastwick::NotificationCenter::defaultCenter().post(kDerazRemoveKeyMsg, QVariant::fromValue(keys));
        },
        QStringLiteral("dropTable cancelled"));
}

void DerazKeysQueryViewController::trashAllQueryKey()
{
    const auto db = currentDatabase();
    if (!db) {
        showWarningKey(QStringLiteral("DataBaseSelectedNil"));
        return;
    }
    const QString text = removeAllQueryKeyMessage(*db);
    const qsizetype found = db->numberOfQueryKeys();
    QPointer<DerazKeysQueryViewController> self(this);
    confirm(
        text,
        [self, db, found] {
            const QByteArrayList keys = db->queryKeys().value_or(DerazKeyList()).toList();
            db->removeAllQueryKeyCounted(
                [self, keys, found](qint64 removed, const std::optional<Bastwick::Error> &error) {
                    if (!self)
                        return;
                    if (error) {
                        // The keys may be partly gone: say why, keep the rows for a reload.
                        self->m_logTextView->setPlainText(error->description);
                    } else {
                        self->dataDelegate()->setData(XXXTableViewDataDelegate::RowList());
                        self->m_removalNote = L(QStringLiteral("QueryKeysRemoved")).arg(removed).arg(found);
                        self->m_logTextView->setPlainText(self->m_removalNote);
                    }
                    self->stateDelegate()->dataStoreDerazKeyRemoved(keys);
                });
        },
        QStringLiteral("trashAllKey cancelled"));
}

QString DerazKeysQueryViewController::removeAllQueryKeyMessage(const DerazDatabase &db)
{
    // The question names exactly what goes: the keys the query found, by their pattern
    // and number, not the whole database.
    QStringList pattern;
    for (const QByteArray &argument : db.queryPattern())
        pattern.append(Kestrune::displayText(argument));
    return L(QStringLiteral("EmptyQueryKeysMessage"))
        .arg(db.name(),
             pattern.isEmpty() ? Kestrune::displayText(QByteArray()) : pattern.join(QLatin1Char(' ')),
             QString::number(db.numberOfQueryKeys()));
}

// --- View state -----------------------------------------------------------------------------

void DerazKeysQueryViewController::dataStoreConnectCompletion(SimpleDBState *)
{
    // The stored query runs again, whatever the field holds now.
    if (!m_query.isEmpty())
        runQuery(m_query);
}

void DerazKeysQueryViewController::dataStoreDerazKeyChanged(SimpleDBViewState *, const QString &,
                                                            const QByteArray &)
{
    refreshDataView();
}

void DerazKeysQueryViewController::dataStoreDerazKeyRemoved(SimpleDBViewState *, const QString &,
                                                            const QByteArrayList &)
{
    refreshDataView();
}

void DerazKeysQueryViewController::dataStoreDerazKVChanged(SimpleDBViewState *, const QString &,
                                                           const QVariantList &)
{
    refreshDataView();
}
