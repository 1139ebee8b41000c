#include <pavisade/cells/XXXComboBoxCell.h>
#include <pavisade/cells/XXXPopUpButtonCell.h>
#include <pavisade/grids/FormMatrixModel_p.h>
#include <pavisade/grids/NSFormDynamicForm.h>
#include <pavisade/grids/NSMatrixDynamicForm.h>

#include <QtTest/QAbstractItemModelTester>
#include <QtWidgets/QComboBox>

#include <gtest/gtest.h>

namespace {

QVariantMap formRow(const QString &title, const QString &value, const QString &type = "TextField")
{
    QVariantMap row{{"title", title}, {"value", value}};
    if (!type.isEmpty())
        row.insert("type", type);
    return row;
}

QStringList comboEntries(QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

TEST(MatrixForms, FactorySizes)
{
    std::unique_ptr<NSFormDynamicForm> form(NSFormDynamicForm::defaultFormWithRowNums(4));
    EXPECT_EQ(form->geometry(), QRect(0, 0, 100, 93));
    std::unique_ptr<NSMatrixDynamicForm> matrix(NSMatrixDynamicForm::defaultFormWithRowNums(4));
    EXPECT_EQ(matrix->geometry(), QRect(0, 0, 200, 130));
    EXPECT_EQ(matrix->formModel()->rowCount(), 4);
    EXPECT_EQ(matrix->formModel()->columnCount(), 2);
}

TEST(MatrixForms, FormRowsSkipUntypedAndTryTheSampleCellsInTheSecondTypedRow)
{
    struct Case
    {
        const char *secondType;
        bool combo, popUp;
    };
    const Case cases[] = {
        {"TextField", false, false}, {"ComboBox", true, false}, {"PopUpButton", false, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.secondType);
        std::unique_ptr<NSFormDynamicForm> form(NSFormDynamicForm::defaultFormWithRowNums(3));
        QAbstractItemModelTester tester(form->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        form->updateWithData(QVariantList{formRow("Host", "127.0.0.1"), formRow("Note", "skipped", ""),
                                          formRow("Port", "6379", c.secondType)});
        auto *model = form->formModel();
        ASSERT_EQ(model->rowCount(), 2);
        EXPECT_EQ(model->headerData(1, Qt::Vertical).toString(), "Port");
        EXPECT_EQ(model->index(1, 0).data().toString(), "6379");
        QWidget *cell = form->indexWidget(model->index(1, 0));
        EXPECT_EQ(cell != nullptr, c.combo || c.popUp);
        if (c.combo) {
            ASSERT_EQ(cell, form->sampleComboBox());
            EXPECT_EQ(form->sampleComboBox()->title(), "test");
            EXPECT_EQ(comboEntries(form->sampleComboBox()->comboBox()), (QStringList{"abc", "abc", "abc"}));
        }
        if (c.popUp) {
            ASSERT_EQ(cell, form->samplePopUp());
            EXPECT_EQ(comboEntries(form->samplePopUp()->comboBox()),
                      (QStringList{"first", "second itemfirst item", "third itemfirst item"}));
        }
        // Entries are edited in place.
        EXPECT_TRUE(model->setData(model->index(0, 0), "localhost"));
        EXPECT_EQ(model->entries().at(0).value, "localhost");
    }

    // One typed row (given as a single map): no sample cell.
    std::unique_ptr<NSFormDynamicForm> single(NSFormDynamicForm::defaultFormWithRowNums(1));
    single->updateWithData(formRow("Only", "1", "ComboBox"));
    EXPECT_EQ(single->formModel()->rowCount(), 1);
    EXPECT_EQ(single->sampleComboBox(), nullptr);
}

TEST(MatrixForms, MatrixTitlesValuesAndThePopUpInRowOne)
{
    std::unique_ptr<NSMatrixDynamicForm> matrix(NSMatrixDynamicForm::defaultFormWithRowNums(3));
    QAbstractItemModelTester tester(matrix->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    matrix->updateWithData(
        QVariantList{formRow("untyped", "x", ""), formRow("Name", "a"), formRow("Kind", "b")});
    auto *model = matrix->formModel();
    EXPECT_EQ(model->index(0, 0).data().toString(), "Name");
    EXPECT_EQ(model->index(0, 1).data().toString(), "a");
    EXPECT_EQ(model->index(0, 0).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
    ASSERT_NE(matrix->samplePopUp(), nullptr);
    EXPECT_EQ(matrix->indexWidget(model->index(1, 1)), matrix->samplePopUp());
    EXPECT_EQ(comboEntries(matrix->samplePopUp()->comboBox()),
              (QStringList{"first firstfirstfirstitem,first item,", "second itemfirst item",
                           "third itemfirst item"}));
    EXPECT_EQ(model->rowCount(), 3); // the matrix keeps its rows
}

} // namespace
