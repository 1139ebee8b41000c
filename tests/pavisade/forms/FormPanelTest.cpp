#include <pavisade/PavisadeClasses.h>
#include <pavisade/forms/FormControls.h>
#include <pavisade/forms/XXXFormPanel.h>

#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

static TestSupport::SetupHook hook([] { Pavisade::registerPavisadeClasses(); });

namespace {

class Target : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER name)
public:
    QString name;
};

XXXFormElement element(int type, const QString &identifier, bool required = false, const QVariant &value = {})
{
    XXXFormElement e;
    e.elementType = type;
    e.identifier = identifier;
    e.title = identifier + QStringLiteral(" title");
    e.required = required;
    e.defaultVal = value;
    return e;
}

XXXButtonElement button(const QString &title, const QString &selector)
{
    XXXButtonElement b;
    b.title = title;
    b.identifier = title;
    b.enabled = true;
    b.selector = selector;
    return b;
}

class Panel : public XXXFormPanel
{
    Q_OBJECT
public:
    using XXXFormPanel::XXXFormPanel;
    QList<XXXFormElement> elements;
    QList<XXXButtonElement> buttons;
    int pinged = 0;
    QList<XXXFormElement> formElementsDef() const override { return elements; }
    QList<XXXButtonElement> buttonElementsDef() const override { return buttons; }
    Q_INVOKABLE void ping() { ++pinged; }
};

QRect frameOf(const QWidget &panel, const QString &identifier)
{
    const QWidget *w = panel.findChild<QWidget *>(identifier, Qt::FindDirectChildrenOnly);
    return w ? w->geometry() : QRect();
}

} // namespace

TEST(FormPanel, SizeDependsOnTheRowsOnly)
{
    struct Case
    {
        qint64 rows, columns;
        QSize size;
    };
    for (const Case &c :
         {Case{3, 2, {338, 187}}, Case{3, 5, {338, 187}}, Case{0, 1, {338, 112}}, Case{4, 0, {338, 212}}}) {
        XXXFormPanel panel(c.rows, c.columns);
        EXPECT_EQ(panel.size(), c.size) << c.rows << "x" << c.columns;
    }
}

TEST(FormPanel, ElementsFillRowsOfTheColumnCount)
{
    Panel panel(3, 2);
    panel.elements = {element(1, "host", true), element(0, "label"),   element(3, "check"),
                      element(2, "combo"),      element(7, "unknown"), element(1, "last")};
    panel.setUpFormView();
    EXPECT_EQ(frameOf(panel, "host"), QRect(10, 15, 200, 20));
    EXPECT_EQ(frameOf(panel, "label"), QRect(215, 15, 100, 20)) << "a label is half as wide";
    EXPECT_EQ(frameOf(panel, "check"), QRect(10, 53, 200, 20)) << "a new row 18 below";
    EXPECT_EQ(frameOf(panel, "combo"), QRect(215, 53, 200, 20));
    EXPECT_EQ(frameOf(panel, "unknown"), QRect());
    // The skipped element still counts for the column: index 5 continues the row.
    EXPECT_EQ(frameOf(panel, "last"), QRect(420, 53, 200, 20));
    EXPECT_EQ(panel.requireValidateItemIditifiers, QStringList{"host"});
    panel.setUpFormView();
    EXPECT_EQ(panel.requireValidateItemIditifiers, (QStringList{"host", "host"}));
}

TEST(FormPanel, ZeroOrOneColumnPutsEveryElementOnItsOwnRow)
{
    for (qint64 columns : {0, 1}) {
        Panel panel(2, columns);
        panel.elements = {element(1, "a"), element(1, "b"), element(0, "c")};
        panel.setUpFormView();
        EXPECT_EQ(frameOf(panel, "a"), QRect(10, 15, 200, 20));
        EXPECT_EQ(frameOf(panel, "b"), QRect(10, 53, 200, 20));
        EXPECT_EQ(frameOf(panel, "c"), QRect(10, 91, 100, 20));
    }
}

TEST(FormPanel, DefaultsAreShownAndEditsReachTheBoundObject)
{
    Target target;
    Panel panel(1, 1);
    panel.setBindObj(&target);
    panel.elements = {element(1, "name", false, "first")};
    panel.setUpFormView();
    auto *field = panel.findChild<XXXTextField *>("name");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), QStringLiteral("first"));
    EXPECT_EQ(target.name, QStringLiteral("first"));
    field->setText(QStringLiteral("second"));
    emit field->editingFinished();
    EXPECT_EQ(target.name, QStringLiteral("second"));

    // With no bound object, the defaults a user leaves as they are land in the value map
    // beside the edits.
    Panel unbound(1, 2);
    unbound.elements = {element(1, "host", false, "localhost"), element(1, "port", false, "6379")};
    unbound.setUpFormView();
    auto *host = unbound.findChild<XXXTextField *>("host");
    ASSERT_NE(host, nullptr);
    host->setText(QStringLiteral("db.example"));
    emit host->editingFinished();
    EXPECT_EQ(unbound.bindDataMap(),
              (QVariantMap{{"host", QStringLiteral("db.example")}, {"port", QStringLiteral("6379")}}));
}

// What is typed into a combo box reaches the bound object without Return: as it is
// typed, and when the user leaves the box with Tab; a choice from the list still does.
TEST(FormPanel, TextTypedIntoAComboBoxIsKeptWhenLeavingItWithTab)
{
    for (const bool boundObject : {true, false}) {
        SCOPED_TRACE(boundObject ? "bound object" : "value map");
        Target target;
        Panel panel(2, 1);
        if (boundObject)
            panel.setBindObj(&target);
        XXXFormElement combo = element(2, "name");
        combo.items = {"alpha", "beta"};
        panel.elements = {combo, element(1, "next")};
        panel.setUpFormView();
        const auto stored = [&] {
            return boundObject ? target.name : panel.bindDataMap().value("name").toString();
        };
        auto *box = panel.findChild<XXXComboBox *>("name");
        auto *next = panel.findChild<XXXTextField *>("next");
        ASSERT_TRUE(box && box->lineEdit() && next);
        panel.show();
        panel.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
        box->setFocus();
        ASSERT_TRUE(waitFor([&] { return box->hasFocus(); }));

        box->clearEditText(); // it shows its first entry
        QTest::keyClicks(box->lineEdit(), "gamma");
        EXPECT_EQ(stored(), "gamma") << "each keystroke reports";
        box->lineEdit()->setText("delta"); // no report: not the user's typing
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(waitFor([&] { return next->hasFocus(); }));
        EXPECT_EQ(stored(), "delta") << "leaving the box reports its text";
        EXPECT_EQ(box->count(), 2) << "nothing was added to the list";

        box->setCurrentIndex(1);
        emit box->activated(1);
        EXPECT_EQ(stored(), "beta");
    }
}

TEST(FormPanel, ButtonRowSitsRightAlignedBelowTheElements)
{
    Panel panel(1, 1);
    panel.buttons = {button("Cancel", "cancel:"), button("OK", "ping"), button("Okay", "ping")};
    panel.setUpButtonView();
    const QList<QPushButton *> made =
        panel.findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(made.size(), 3);
    EXPECT_EQ(made.at(0)->geometry(), QRect(338 - 179, 15, 82, 32)) << "no element: at the top padding";
    EXPECT_EQ(made.at(1)->geometry(), QRect(338 - 179 + 87, 15, 82, 32));
    EXPECT_EQ(panel.cancelBtn(), made.at(0));
    EXPECT_EQ(panel.okBtn(), made.at(1)) << "only a whole-word OK is the OK button";
    made.at(2)->click();
    EXPECT_EQ(panel.pinged, 1);

    Panel withElement(1, 1);
    withElement.elements = {element(1, "a")};
    withElement.setUpFormView();
    withElement.setUpButtonView2();
    const QList<QPushButton *> fixed = withElement.findChildren<QPushButton *>();
    ASSERT_EQ(fixed.size(), 2);
    EXPECT_EQ(fixed.at(0)->y(), 15 + 20 + 18);
    EXPECT_EQ(fixed.at(0)->text(), QStringLiteral("Cancel")) << "the \"Cancell\" key has its own translation";
    EXPECT_EQ(fixed.at(1)->text(), QStringLiteral("Ok"));
}

#include "FormPanelTest.moc"
