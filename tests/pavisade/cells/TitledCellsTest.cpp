#include <pavisade/cells/XXXComboBoxCell.h>
#include <pavisade/cells/XXXPopUpButtonCell.h>

#include "support/LogCapture.h"

#include <QtTest/QTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>

#include <gtest/gtest.h>

namespace {

TEST(TitledCells, TitleAreaWidths)
{
    XXXComboBoxCell cell("Name");
    cell.resize(300, 24);
    cell.show();
    EXPECT_EQ(cell.titleWidth(), 0.0f);
    EXPECT_EQ(cell.comboBox()->geometry(), QRect(0, 0, 300, 24));

    TestSupport::LogCapture log;
    cell.setTitleWidth(100);
    EXPECT_EQ(cell.titleWidth(), 108.0f);
    EXPECT_TRUE(log.contains("mTitleWidth=108.000000"));
    EXPECT_EQ(cell.comboBox()->geometry(), QRect(108, 0, 192, 24));
    for (float kept : {0.0f, -5.0f}) {
        cell.setTitleWidth(kept);
        EXPECT_EQ(cell.titleWidth(), 108.0f);
    }
    EXPECT_EQ(cell.titleWidth(50), 108.0f);

    // The title is centred vertically and never narrower than its text.
    const QRect label = cell.labelRect();
    EXPECT_EQ(label.left(), 0);
    EXPECT_NEAR(label.center().y(), 12, 1);
    EXPECT_GE(label.width(), 100);
    cell.setTitle("A much longer title than one hundred points of room");
    EXPECT_GE(cell.labelRect().width(), QFontMetrics(cell.titleFont()).horizontalAdvance(cell.title()) - 1);
}

TEST(TitledCells, ArrowAreaPressSelectsWithinTheEditedText)
{
    struct Case
    {
        const char *title;
        const char *text;
        int selected;
    };
    const Case cases[] = {{"Name", "abcdefgh", 4}, {"A long title", "ab", 2}, {"", "abc", 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        XXXComboBoxCell cell(c.title);
        cell.resize(300, 24);
        cell.setTitleWidth(60);
        cell.show();
        cell.comboBox()->setEditText(c.text);
        QLineEdit *edit = cell.comboBox()->lineEdit();
        edit->deselect();
        cell.editWithEvent(QPoint(290, 12)); // arrow area, measured from the cell's own x
        EXPECT_EQ(edit->selectionStart(), c.selected ? 0 : -1);
        EXPECT_EQ(edit->selectedText().size(), c.selected);

        edit->deselect();
        cell.editWithEvent(QPoint(30, 12)); // title area: nothing
        EXPECT_FALSE(edit->hasSelectedText());
        cell.editWithEvent(QPoint(150, 12)); // text area: plain editing
        EXPECT_FALSE(edit->hasSelectedText());
    }
}

TEST(TitledCells, InsertedEntriesAreUniqueAndAtMostTen)
{
    XXXComboBoxCell cell;
    for (int i = 0; i < 10; ++i)
        cell.insertItemWithObjectValue2(QString::number(i), cell.comboBox()->count());
    cell.insertItemWithObjectValue2("new", 0);
    ASSERT_EQ(cell.comboBox()->count(), 10);
    EXPECT_EQ(cell.comboBox()->itemText(0), "new");
    EXPECT_EQ(cell.comboBox()->itemText(9), "8");

    cell.insertItemWithObjectValue2("5", 0);
    EXPECT_EQ(cell.comboBox()->count(), 10);
    EXPECT_EQ(cell.comboBox()->itemText(0), "5");
    EXPECT_EQ(cell.comboBox()->findText("5"), 0);
}

TEST(TitledCells, PopUpsTrackOnlyPastTheTitleAndShowTheirChoice)
{
    XXXPopUpButtonCell popUp("first");
    popUp.resize(300, 24);
    popUp.setTitleWidth(72);
    popUp.comboBox()->addItems({"first", "second"});
    popUp.comboBox()->setCurrentIndex(1);
    EXPECT_EQ(popUp.comboBox()->currentText(), "second");
    TestSupport::LogCapture log;
    EXPECT_FALSE(popUp.trackMouse(QPoint(80, 5)));
    EXPECT_TRUE(popUp.trackMouse(QPoint(81, 5)));
    EXPECT_EQ(log.count("trackMouse mTitleWidth=80.000000"), 2);

    FXPopUpButtonCell fx("123");
    fx.resize(200, 24);
    fx.show();
    EXPECT_EQ(fx.comboBox()->geometry(), QRect(20, 0, 180, 24));
    EXPECT_EQ(fx.comboBox()->currentText(), "123");
}

} // namespace
