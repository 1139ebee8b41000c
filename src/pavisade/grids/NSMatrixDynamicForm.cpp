#include <pavisade/grids/NSMatrixDynamicForm.h>

#include <pavisade/cells/XXXPopUpButtonCell.h>
#include <pavisade/grids/FormMatrixModel_p.h>
#include <pavisade/grids/NSFormDynamicForm.h>

#include <bastwick/ViewGeometry.h>

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHeaderView>

NSMatrixDynamicForm::NSMatrixDynamicForm(QWidget *parent)
    : QTableView(parent)
    , m_model(new Pavisade::FormMatrixModel(2, this))
{
    setModel(m_model);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(100);
    verticalHeader()->setDefaultSectionSize(24);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setTextElideMode(Qt::ElideMiddle);
}

NSMatrixDynamicForm::~NSMatrixDynamicForm() = default;

NSMatrixDynamicForm *NSMatrixDynamicForm::defaultFormWithRowNums(int rows, QWidget *parent)
{
    auto *matrix = new NSMatrixDynamicForm(parent);
    matrix->setGeometry(0, 0, 200, 30 * rows + 10);
    matrix->m_model->setRowCountTo(rows);
    Bastwick::setAutoresizingMask(matrix, Bastwick::ViewWidthSizable);
    matrix->setAutoFillBackground(true);
    QPalette palette = matrix->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Midlight));
    matrix->setPalette(palette);
    return matrix;
}

void NSMatrixDynamicForm::updateWithData(const QVariant &data)
{
    int r = 0;
    for (const QVariant &item : Pavisade::formRowsOf(data)) {
        const QVariantMap row = item.toMap();
        if (!row.contains(QStringLiteral("type")))
            continue;
        m_model->setEntry(r, {row.value(QStringLiteral("title")).toString(),
                              row.value(QStringLiteral("value")).toString()});
        setIndexWidget(m_model->index(r, 1), nullptr);
        if (r == 1) {
            // The pop-up's menu replaces the entries it was first given.
            auto *popUp = new FXPopUpButtonCell(QStringLiteral("123"));
            popUp->comboBox()->clear();
            popUp->comboBox()->addItems({QStringLiteral("first firstfirstfirstitem,first item,"),
                                         QStringLiteral("second itemfirst item"),
                                         QStringLiteral("third itemfirst item")});
            popUp->comboBox()->view()->setMinimumWidth(300);
            setIndexWidget(m_model->index(r, 1), popUp);
            m_popUp = popUp;
        }
        ++r;
    }
}
