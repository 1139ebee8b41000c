#include <pavisade/grids/NSFormDynamicForm.h>

#include <pavisade/cells/XXXComboBoxCell.h>
#include <pavisade/cells/XXXPopUpButtonCell.h>
#include <pavisade/grids/FormMatrixModel_p.h>

#include <bastwick/ViewGeometry.h>

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHeaderView>

namespace Pavisade {

QVariantList formRowsOf(const QVariant &data)
{
    if (data.metaType().id() == QMetaType::QVariantMap)
        return {data};
    return data.toList();
}

} // namespace Pavisade

NSFormDynamicForm::NSFormDynamicForm(QWidget *parent)
    : QTableView(parent)
    , m_model(new Pavisade::FormMatrixModel(1, this))
{
    setModel(m_model);
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(int(kFormCellHeight));
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setShowGrid(false);
}

NSFormDynamicForm::~NSFormDynamicForm() = default;

NSFormDynamicForm *NSFormDynamicForm::defaultFormWithRowNums(int rows, QWidget *parent)
{
    auto *form = new NSFormDynamicForm(parent);
    form->setGeometry(0, 0, 100, int(kFormCellHeight * rows + 5));
    Bastwick::setAutoresizingMask(form, Bastwick::ViewWidthSizable);
    form->setAutoFillBackground(true);
    QPalette palette = form->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Midlight));
    form->setPalette(palette);
    return form;
}

QString NSFormDynamicForm::comboBoxCellObjectValueForItemAtIndex(int index)
{
    Q_UNUSED(index);
    return QStringLiteral("abc");
}

void NSFormDynamicForm::updateWithData(const QVariant &data)
{
    int r = 0;
    for (const QVariant &item : Pavisade::formRowsOf(data)) {
        const QVariantMap row = item.toMap();
        if (!row.contains(QStringLiteral("type")))
            continue;
        const QString title = row.value(QStringLiteral("title")).toString();
        const QString type = row.value(QStringLiteral("type")).toString();
        m_model->setEntry(r, {title, row.value(QStringLiteral("value")).toString()});
        setIndexWidget(m_model->index(r, 0), nullptr);
        const float titleWidth = float(QFontMetricsF(verticalHeader()->font()).horizontalAdvance(title));
        if (r == 1) {
            auto *combo = new XXXComboBoxCell(QStringLiteral("test"));
            combo->setTitle(QStringLiteral("test"));
            combo->setTitleAlignment(Qt::AlignRight);
            combo->setTitleWidth(titleWidth);
            for (int i = 0; i < numberOfItemsInComboBoxCell(); ++i)
                combo->comboBox()->addItem(comboBoxCellObjectValueForItemAtIndex(i));
            combo->comboBox()->setMaxVisibleItems(3);
            auto *popUp = new XXXPopUpButtonCell(QStringLiteral("first"));
            popUp->setTitleAlignment(Qt::AlignRight);
            popUp->setTitleWidth(titleWidth);
            popUp->comboBox()->addItems({QStringLiteral("first"), QStringLiteral("second itemfirst item"),
                                         QStringLiteral("third itemfirst item")});
            popUp->comboBox()->view()->setMinimumWidth(300);
            if (type == QLatin1String("ComboBox")) {
                setIndexWidget(m_model->index(r, 0), combo);
                m_comboBox = combo;
                delete popUp;
            } else if (type == QLatin1String("PopUpButton")) {
                setIndexWidget(m_model->index(r, 0), popUp);
                m_popUp = popUp;
                delete combo;
            } else {
                delete combo;
                delete popUp;
            }
        }
        ++r;
    }
}
