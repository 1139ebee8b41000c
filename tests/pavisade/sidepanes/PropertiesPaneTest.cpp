#include <pavisade/forms/XXXForm.h>
#include <pavisade/sidepanes/XIInspectorView.h>
#include <pavisade/sidepanes/XXXPropertiesView.h>
#include <pavisade/sidepanes/XXXPropertiesViewController.h>
#include <pavisade/sidepanes/XXXPropertiesViewDataDelegate.h>

#include "support/LogCapture.h"

#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollArea>

#include <gtest/gtest.h>

namespace {

class Connection : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString host MEMBER host)
    Q_PROPERTY(int autoLogin MEMBER autoLogin)
public:
    QString host;
    int autoLogin = 0;
};

QVariantMap row(const QString &title, const QString &type, const QString &identifier,
                const QVariant &value = {})
{
    return {{"title", title}, {"type", type}, {"identifier", identifier}, {"value", value}};
}

class Groups : public XXXPropertiesViewDataDelegate
{
public:
    Groups()
    {
        groupMembers()
            << QVariantMap{{"title", "Server"},
                           {"children", QVariantList{row("Host", XXXFormTypeTextField, "host", "a"),
                                                     row("Auto login", XXXFormTypeCheckBox, "autoLogin", 0)}}}
            << QVariantMap{{"title", "Notes"}}                                               // no rows
            << QVariantMap{{"children", QVariantList{row("Label", XXXFormTypeLabel, "l")}}}; // no title
    }
};

class Probe : public XXXPropertiesViewController
{
public:
    Connection connection;
    void propertiesViewDataSourceConfig() override
    {
        propertiesView()->setDataSource(std::make_shared<Groups>());
        propertiesView()->setBindObj(&connection);
        propertiesView()->reloadData();
    }
};

} // namespace

TEST(PropertiesInspector, OneExpandedSectionOfFormRowsPerGroup)
{
    XXXPropertiesView view;
    view.resize(300, 10);
    view.show();
    Connection connection;
    view.setDataSource(std::make_shared<Groups>());
    view.setBindObj(&connection);
    view.reloadData();

    const QList<XIInspectorView *> sections = view.inspectorViews();
    ASSERT_EQ(sections.size(), 3);
    EXPECT_EQ(sections.at(0)->name(), QStringLiteral("Server"));
    EXPECT_EQ(sections.at(1)->name(), QStringLiteral("Notes"));
    EXPECT_EQ(sections.at(2)->name(), QString()) << "a group without a title keeps the default name";
    for (XIInspectorView *section : sections) {
        EXPECT_TRUE(section->expanded());
        EXPECT_NE(qobject_cast<XXXForm *>(section->body()), nullptr);
    }
    EXPECT_EQ(sections.at(0)->height(), 20 + 44);
    EXPECT_EQ(sections.at(1)->body()->height(), 0) << "a group without rows gets an empty form";
    EXPECT_EQ(sections.at(0)->width(), 300);
    EXPECT_EQ(sections.at(0)->body()->width(), 300);

    // Edits in a section's form reach the bound object.
    auto *check = sections.at(0)->body()->findChild<QCheckBox *>(QStringLiteral("autoLogin"));
    ASSERT_NE(check, nullptr);
    check->click();
    EXPECT_EQ(connection.autoLogin, 1);

    // Reloading replaces the sections instead of adding to them.
    view.reloadData();
    EXPECT_EQ(view.inspectorViews().size(), 3);
    EXPECT_EQ(view.height(), 64 + 20 + 42);
}

TEST(PropertiesInspector, EmptyDataSourcesLeaveNoSection)
{
    XXXPropertiesView view;
    view.resize(300, 10);
    view.reloadData();
    EXPECT_TRUE(view.inspectorViews().isEmpty());

    TestSupport::LogCapture log;
    view.setDataSource(std::make_shared<XXXPropertiesViewDataDelegate>());
    view.reloadData();
    EXPECT_TRUE(view.inspectorViews().isEmpty());
    EXPECT_EQ(view.height(), 0);
    EXPECT_TRUE(log.contains(QStringLiteral("[children count]=0")));
}

class CheckedForm : public XXXForm
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit CheckedForm(QWidget *parent = nullptr)
        : XXXForm(parent)
    {
    }
};

TEST(PropertiesInspector, RegisteredFormClassMakesEverySectionBody)
{
    XXXPropertiesView view;
    view.setDataSource(std::make_shared<Groups>());
    view.registerFormClass(&CheckedForm::staticMetaObject);
    view.reloadData();
    for (XIInspectorView *section : view.inspectorViews())
        EXPECT_NE(qobject_cast<CheckedForm *>(section->body()), nullptr);
}

TEST(PropertiesInspector, ScreenScrollsTheViewAcrossItsWidth)
{
    Probe screen;
    screen.resize(320, 120);
    screen.view();
    screen.show();
    QApplication::processEvents();
    QScrollArea *scroll = screen.propertiesViewScrollView();
    EXPECT_EQ(scroll->geometry(), screen.rect());
    EXPECT_EQ(scroll->widget(), screen.propertiesView());
    EXPECT_EQ(screen.propertiesView()->inspectorViews().size(), 3);
    EXPECT_EQ(screen.propertiesView()->width(), scroll->viewport()->width());
    // Taller than the screen: the view scrolls.
    EXPECT_GT(screen.propertiesView()->height(), scroll->viewport()->height());

    screen.resize(400, 200);
    QApplication::processEvents();
    EXPECT_EQ(scroll->geometry(), screen.rect());
    EXPECT_EQ(screen.propertiesView()->width(), scroll->viewport()->width());
}

#include "PropertiesPaneTest.moc"
