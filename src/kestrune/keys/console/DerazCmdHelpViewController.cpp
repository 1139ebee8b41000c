#include <kestrune/keys/console/DerazCmdHelpViewController.h>

#include <kestrune/Localized.h>
#include <kestrune/data/state/DerazCommand.h>
#include <kestrune/data/state/DerazCommandDAO.h>
#include <kestrune/keys/console/DerazCmdHelpViewDataDelegate.h>

#include <pavisade/tables/XXXNSTableColumnField.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QHash>
#include <QtCore/QPointer>
#include <QtGui/QAction>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QStyle>
#include <QtWidgets/QTableView>
#include <QtWidgets/QToolButton>

using Kestrune::L;

namespace {

const QColor kTableBackground(0x2c, 0x31, 0x35);

} // namespace

QString DerazCmdGroupName(quint32 tag)
{
    static const QHash<quint32, QString> names = {
        {0, QStringLiteral("all")},    {1, QStringLiteral("string")},
        {2, QStringLiteral("hash")},   {3, QStringLiteral("list")},
        {4, QStringLiteral("set")},    {5, QStringLiteral("sorted_set")},
        {6, QStringLiteral("server")}, {7, QStringLiteral("connection")},
        {8, QStringLiteral("pubsub")}, {9, QStringLiteral("transactions")}};
    return names.value(tag);
}

DerazCmdHelpViewController::DerazCmdHelpViewController(QWidget *parent)
    : X3TableViewXibController(parent)
{
}

DerazCmdHelpViewController::~DerazCmdHelpViewController() = default;

DerazCmdHelpViewDataDelegate *DerazCmdHelpViewController::dataDelegate()
{
    if (!m_dataDelegate)
        m_dataDelegate = new DerazCmdHelpViewDataDelegate(this);
    return m_dataDelegate;
}

std::shared_ptr<DerazCommandDAO> DerazCmdHelpViewController::dao()
{
    if (!m_dao)
        m_dao = DerazCommandDAO::create();
    return m_dao;
}

void DerazCmdHelpViewController::loadInterface()
{
    static const char *const titles[] = {"All",        "String", "Hash",       "List",    "Set",
                                         "Sorted Set", "Server", "Connection", "Pub/Sub", "Transactions"};
    // The group buttons in a row, the search field at its end while there is room for
    // it, else on a row of its own below; buttons that do not fit in one row wrap.
    m_strip = new QGridLayout;
    m_strip->setContentsMargins(6, 6, 6, 6);
    m_strip->setHorizontalSpacing(4);
    m_strip->setVerticalSpacing(6);
    for (int tag = 0; tag < 10; ++tag) {
        auto *button = new QToolButton(this);
        button->setText(L(QString::fromLatin1(titles[tag])));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setObjectName(QStringLiteral("groupBtn%1").arg(tag));
        button->setProperty("tag", qint64(tag));
        button->setFocusPolicy(Qt::NoFocus);
        // Wrapped, a button fills its column, so the rows line up.
        button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        connect(button, &QToolButton::clicked, this, [this, button] { groupBtnClicked(button); });
        m_groupButtons.append(button);
    }
    m_strip->setColumnStretch(kSearchColumn - 1, 1);
    m_searchTextFld = new QLineEdit(this);
    m_searchTextFld->setObjectName(QStringLiteral("searchTextFld"));
    m_searchTextFld->setPlaceholderText(L(QStringLiteral("Search")));
    m_searchTextFld->setMinimumWidth(kSearchMinWidth);
    placeStripItems();

    m_tableView = makeTableView();
    m_tableView->setObjectName(QStringLiteral("derazCmdHelpView"));
    m_tableView->setFrameShape(QFrame::NoFrame);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->setShowGrid(false);

    auto *layout = new QVBoxLayout(this);
    // The screen's minimum is its own (see minimumSizeHint), not the row it shows now.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(m_strip);
    layout->addWidget(m_tableView, 1);
}

void DerazCmdHelpViewController::placeStripItems()
{
    if (!m_strip || !m_searchTextFld)
        return;
    const int perRow = buttonsPerRow(width());
    const bool fieldBeside =
        perRow == m_groupButtons.size() && buttonsRowWidth(perRow) + kSearchMinWidth <= width();
    if (perRow == m_placedPerRow && fieldBeside == m_fieldBeside)
        return;
    m_placedPerRow = perRow;
    m_fieldBeside = fieldBeside;
    for (int at = 0; at < m_groupButtons.size(); ++at) {
        m_strip->removeWidget(m_groupButtons.at(at));
        m_strip->addWidget(m_groupButtons.at(at), at / perRow, at % perRow);
    }
    m_strip->removeWidget(m_searchTextFld);
    if (fieldBeside)
        m_strip->addWidget(m_searchTextFld, 0, kSearchColumn);
    else
        m_strip->addWidget(m_searchTextFld, (int(m_groupButtons.size()) + perRow - 1) / perRow, 0, 1,
                           kSearchColumn + 1);
}

int DerazCmdHelpViewController::buttonsPerRow(int width) const
{
    int perRow = int(m_groupButtons.size());
    while (perRow > 1 && buttonsRowWidth(perRow) > width)
        --perRow;
    return perRow;
}

int DerazCmdHelpViewController::buttonsRowWidth(int perRow) const
{
    // The buttons of a column share its width: that of the widest of them.
    int row = m_strip->contentsMargins().left() + m_strip->contentsMargins().right();
    for (int column = 0; column < perRow; ++column) {
        int widest = 0;
        for (qsizetype at = column; at < m_groupButtons.size(); at += perRow)
            widest = qMax(widest, m_groupButtons.at(at)->sizeHint().width());
        row += widest + m_strip->horizontalSpacing();
    }
    return row;
}

QSize DerazCmdHelpViewController::minimumSizeHint() const
{
    // The search field can always go below the buttons, and the buttons can wrap down to
    // one a row: only the widest of them and the field count.
    const QSize hint = X3TableViewXibController::minimumSizeHint();
    if (!m_strip)
        return hint;
    const QMargins margins = m_strip->contentsMargins();
    const int narrowest = qMax(buttonsRowWidth(1), margins.left() + kSearchMinWidth + margins.right());
    return QSize(qMin(hint.width(), narrowest), hint.height());
}

void DerazCmdHelpViewController::resizeEvent(QResizeEvent *event)
{
    placeStripItems();
    X3TableViewXibController::resizeEvent(event);
}

void DerazCmdHelpViewController::awakeFromNib()
{
    X3TableViewXibController::awakeFromNib();
    searchBtnActionConfig();
    fetchData();
}

void DerazCmdHelpViewController::searchBtnActionConfig()
{
    // The cancel cross inside the field: shown while the field holds text; it empties
    // the field and shows every command again.
    m_searchCancel = m_searchTextFld->addAction(style()->standardIcon(QStyle::SP_LineEditClearButton),
                                                QLineEdit::TrailingPosition);
    m_searchCancel->setObjectName(QStringLiteral("searchCancel"));
    m_searchCancel->setToolTip(L(QStringLiteral("Show all commands")));
    m_searchCancel->setVisible(false);
    connect(m_searchTextFld, &QLineEdit::textChanged, m_searchCancel,
            [this](const QString &text) { m_searchCancel->setVisible(!text.isEmpty()); });
    connect(m_searchCancel, &QAction::triggered, this, [this] {
        m_searchTextFld->clear();
        searchCancelAction();
    });
    connect(m_searchTextFld, &QLineEdit::returnPressed, this, [this] { searchBtnClicked(); });
}

XXXNSTableColumnFieldList DerazCmdHelpViewController::tableColumnsDef() const
{
    auto column = [](const QString &title, const QString &identifier, double width) {
        XXXNSTableColumnField field;
        field.setTitle(L(title));
        field.setIdentifier(identifier);
        field.setWidth(width);
        field.setMinWidth(width);
        field.setEditable(false);
        field.setTextColor(QColor(Qt::white));
        field.setHeaderAlignment(XXXNSTableColumnField::kAlignLeft);
        field.setDataAlignment(XXXNSTableColumnField::kAlignLeft);
        field.setCellType(XXXNSTableColumnField::kTextCell);
        return field;
    };
    return {column(QStringLiteral("Command"), QStringLiteral("command"), 160),
            column(QStringLiteral("Args"), QStringLiteral("args"), 200),
            column(QStringLiteral("Summary"), QStringLiteral("desc"), 0)};
}

void DerazCmdHelpViewController::tableViewStyleConfig()
{
    QTableView *table = tableView();
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // "Summary" takes whatever width the first two columns leave.
    table->horizontalHeader()->setStretchLastSection(true);
    QPalette palette = table->palette();
    palette.setColor(QPalette::Base, kTableBackground);
    palette.setColor(QPalette::AlternateBase, kTableBackground);
    palette.setColor(QPalette::Window, kTableBackground);
    table->setPalette(palette);
    table->setAutoFillBackground(true);
    setAutoFillBackground(true);
    QPalette own = this->palette();
    own.setColor(QPalette::Window, kTableBackground);
    own.setColor(QPalette::Base, QColor(0xf4, 0xf4, 0xf4));
    own.setColor(QPalette::Text, QColor(0x20, 0x20, 0x20));
    setPalette(own);
}

void DerazCmdHelpViewController::tableViewColumnConfig()
{
    X3TableViewXibController::tableViewColumnConfig();
    setSortColumns();
}

void DerazCmdHelpViewController::tableViewDelegateConfig()
{
    DerazCmdHelpViewDataDelegate *model = dataDelegate();
    model->setOwner(tableView());
    model->callback = [](const DerazCmdHelpViewDataDelegate::Row &) {};
}

void DerazCmdHelpViewController::groupBtnClicked(QAbstractButton *sender)
{
    if (!sender)
        return;
    const QString name = DerazCmdGroupName(quint32(sender->property("tag").toLongLong()));
    if (name.isNull())
        return;
    if (name == QLatin1String("all"))
        fetchData();
    else
        fetchDataByGroup(name);
}

void DerazCmdHelpViewController::searchBtnClicked()
{
    const QString text = m_searchTextFld->text();
    if (text.trimmed().isEmpty())
        return;
    // The text is bound to the statement as it was typed ("%" and "_" match like
    // wildcards; a quote is just a character).
    fetch([text](DerazCommandDAO &dao) { return dao.searchCommands(text); });
}

void DerazCmdHelpViewController::searchCancelAction()
{
    fetchData();
}

void DerazCmdHelpViewController::fetchData()
{
    fetch([](DerazCommandDAO &dao) { return dao.findAllCommands(); });
}

void DerazCmdHelpViewController::fetchDataByGroup(const QString &groupName)
{
    fetch([groupName](DerazCommandDAO &dao) { return dao.findCommandsInGroup(groupName); });
}

void DerazCmdHelpViewController::fetch(Query query)
{
    view();
    const quint64 number = ++m_lastFetch;
    m_pendingFetch = number;
    displayActivityView();
    std::shared_ptr<DerazCommandDAO> access = dao();
    QPointer<DerazCmdHelpViewController> self(this);
    Bastwick::globalQueue()->async([self, number, access, query = std::move(query)] {
        DerazCmdHelpViewDataDelegate::RowList rows;
        if (access)
            rows = DerazCmdHelpViewDataDelegate::rowsWithCommands(query(*access));
        else
            XXXLogWarning(QStringLiteral("the local database is not open: no commands to show"));
        Bastwick::mainQueue()->async([self, number, rows] {
            // A query overtaken by a later one is dropped: the table shows what the user
            // asked for last, whichever query finishes first.
            if (!self || number != self->m_lastFetch)
                return;
            self->m_pendingFetch = 0;
            self->tableView()->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
            self->dataDelegate()->setData(rows);
            self->hideActivityView();
        });
    });
}
