#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>

#include <kestrune/data/records/CellText.h>
#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/keys/SpinnerReload.h>
#include <kestrune/keys/sheets/DerazKVDataDelegate.h>
#include <kestrune/keys/sheets/DerazKVEditRow.h>

#include <pavisade/tables/NSTableViewEX.h>
#include <pavisade/tables/TableViewExtension.h>

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

DerazKeyEditorViewController::DerazKeyEditorViewController(const DerazKV &blankRecord, bool withKeyFields,
                                                           QWidget *parent)
    : X3TableViewXibController(parent)
    , m_blankRecord(blankRecord)
    , m_withKeyFields(withKeyFields)
{
}

DerazKeyEditorViewController::~DerazKeyEditorViewController() = default;

DerazKVDataDelegate *DerazKeyEditorViewController::dataDelegate()
{
    if (!m_dataDelegate) {
        m_dataDelegate = new DerazKVDataDelegate(m_blankRecord, this);
        connect(
            m_dataDelegate, &DerazKVDataDelegate::valueRefused, this,
            [this](const QString &identifier, const QString &text) {
                if (identifier == u"score")
                    showWarningInfo(
                        tr("The score \"%1\" is not a number; the row keeps its score.").arg(text.left(80)));
            });
    }
    return m_dataDelegate;
}

QTableView *DerazKeyEditorViewController::tableXibView()
{
    if (!m_table) {
        m_table = new NSTableViewEX(this);
        m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_table->setSelectionMode(QAbstractItemView::SingleSelection);
        m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
        m_table->setWordWrap(false);
        m_table->setTextElideMode(Qt::ElideRight);
        m_table->verticalHeader()->hide();
        // One line a row, whatever the value: no measuring of contents.
        m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
        m_table->horizontalHeader()->setHighlightSections(false);
        // The last column takes what the sized ones leave.
        m_table->horizontalHeader()->setStretchLastSection(true);
    }
    return m_table;
}

void DerazKeyEditorViewController::loadInterface()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    if (m_withKeyFields) {
        auto *fields = new QHBoxLayout;
        m_keyTextField = new QLineEdit(this);
        m_keyTextField->setObjectName(QStringLiteral("keyTextField"));
        m_ttlTextField = new QLineEdit(QStringLiteral("-1"), this);
        m_ttlTextField->setObjectName(QStringLiteral("ttlTextField"));
        m_ttlTextField->setFixedWidth(110);
        m_ttlTextField->setToolTip(tr("Seconds to live; empty, 0 or less for no expiry"));
        fields->addWidget(new QLabel(tr("Key"), this));
        fields->addWidget(m_keyTextField, 1);
        fields->addSpacing(8);
        fields->addWidget(new QLabel(tr("TTL"), this));
        fields->addWidget(m_ttlTextField);
        layout->addLayout(fields);
    }
    layout->addWidget(tableXibView(), 1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    const auto makeButton = [this](const QString &text, const QString &tip, int tag) {
        auto *button = new QToolButton(this);
        button->setText(text);
        button->setToolTip(tip);
        button->setProperty("tag", tag);
        button->setFixedSize(26, 22);
        connect(button, &QToolButton::clicked, this, [this, button] { toolButtonClicked(button); });
        return button;
    };
    m_addButton = makeButton(QStringLiteral("+"), tr("Add a row"), 1);
    m_removeButton = makeButton(QStringLiteral("\u2212"), tr("Remove the selected row"), 2);
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_removeButton);
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

void DerazKeyEditorViewController::tableViewDelegateConfig()
{
    dataDelegate()->setOwner(tableView());
    dataDelegate()->callback = [](const XXXTableViewBasedDataDelegate::Row &) {};
}

void DerazKeyEditorViewController::toolButtonClicked(QAbstractButton *sender)
{
    if (!sender)
        return;
    switch (sender->property("tag").toLongLong()) {
    case 1:
        addNewKVPair();
        break;
    case 2:
        removeKVPair();
        break;
    default:
        break;
    }
}

void DerazKeyEditorViewController::addNewKVPair(QObject *sender)
{
    Q_UNUSED(sender);
    dataDelegate()->addNewData();
    Pavisade::setEditFoucusAtColumn(tableView(), newRowEditColumn());
}

void DerazKeyEditorViewController::removeKVPair()
{
    const int row = Pavisade::selectedRow(tableView());
    if (row < 0 || row >= dataDelegate()->itemCount())
        return;
    dataDelegate()->deleteDataAtIndex(row);
}

void DerazKeyEditorViewController::fetchData()
{
    Kestrune::reloadBehindSpinner(this, [this] { dataDelegate()->reloadData(); });
}

qint64 DerazKeyEditorViewController::ttl()
{
    return m_ttlTextField ? Kestrune::integerValue(m_ttlTextField->text()) : 0;
}

void DerazKeyEditorViewController::clearData()
{
    dataDelegate()->clearData();
    if (m_ttlTextField && !keepsFieldsOnClear())
        m_ttlTextField->setText(QStringLiteral("-1"));
}

QList<DerazKV> DerazKeyEditorViewController::acceptedRows(bool keyed) const
{
    QList<DerazKV> rows;
    if (!m_dataDelegate)
        return rows;
    for (const auto &item : m_dataDelegate->items()) {
        const auto row = std::dynamic_pointer_cast<DerazKVEditRow>(item);
        if (!row)
            continue;
        DerazKV record = row->record();
        if (!row->isLoaded() &&
            (Kestrune::isBlank(record.value()) || (keyed && Kestrune::isBlank(record.key()))))
            continue;
        record.setKey(Kestrune::nonNullBytes(record.key()));
        record.setValue(Kestrune::nonNullBytes(record.value()));
        rows.append(record);
    }
    return rows;
}

QByteArrayList DerazKeyEditorViewController::acceptedValues() const
{
    QByteArrayList values;
    for (const DerazKV &row : acceptedRows(false))
        values.append(row.value());
    return values;
}

QByteArray DerazKeyEditorViewController::typedKey() const
{
    return m_keyTextField ? Kestrune::bytesFromCellText(m_keyTextField->text()) : QByteArray();
}

void DerazKeyEditorViewController::showKeyFields(const DerazUnit &unit)
{
    if (m_keyTextField)
        m_keyTextField->setText(Kestrune::cellText(unit.key()));
    if (m_ttlTextField)
        m_ttlTextField->setText(QString::number(unit.ttl()));
}

void DerazKeyEditorViewController::setLoadedValues(const QByteArrayList &values)
{
    QList<DerazKV> records;
    records.reserve(values.size());
    for (const QByteArray &value : values)
        records.append(DerazKV(QByteArray(), value));
    dataDelegate()->setRecords(records, true);
}
