// Pictures of the inspector screens and the form panel, for looking at under Xvfb:
//   xvfb-run -a -s '-screen 0 1280x800x24' pavisade_sidepane_shots <folder>
// writes inspector-active.png, inspector-inactive.png, properties.png, form-panel.png.

#include <pavisade/PavisadeClasses.h>
#include <pavisade/forms/XXXForm.h>
#include <pavisade/forms/XXXFormPanel.h>
#include <pavisade/sidepanes/X3InspectorTabViewController.h>
#include <pavisade/sidepanes/XXXPropertiesView.h>
#include <pavisade/sidepanes/XXXPropertiesViewController.h>
#include <pavisade/sidepanes/XXXPropertiesViewDataDelegate.h>

#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>

#include "../PavisadeShots.h"

#include <cstdio>

namespace {

QVariantMap row(const QString &title, const QString &type, const QString &identifier, const QVariant &value,
                const QStringList &items = {})
{
    return {{"title", title}, {"type", type}, {"identifier", identifier}, {"value", value}, {"items", items}};
}

class Groups : public XXXPropertiesViewDataDelegate
{
public:
    Groups()
    {
        groupMembers()
            << QVariantMap{{"title", "Connection"},
                           {"children", QVariantList{row("Name", XXXFormTypeTextField, "name", "local"),
                                                     row("Host", XXXFormTypeTextField, "host", "127.0.0.1"),
                                                     row("Port", XXXFormTypeTextField, "port", 6379),
                                                     row("Scheme", XXXFormTypePopUpButton, "scheme", "deraz",
                                                         {"deraz", "sqlite"})}}}
            << QVariantMap{{"title", "Options"},
                           {"children", QVariantList{row("Auto login", XXXFormTypeCheckBox, "autoLogin", 1),
                                                     row("Database", XXXFormTypeComboBox, "database", "0",
                                                         {"0", "1", "2"}),
                                                     row("Read only", XXXFormTypeLabel, "ro", {})}}};
    }
};

class Properties : public XXXPropertiesViewController
{
public:
    void propertiesViewDataSourceConfig() override
    {
        propertiesView()->setDataSource(std::make_shared<Groups>());
        propertiesView()->reloadData();
    }
};

class Note : public X3CommonViewController
{
public:
    explicit Note(const QString &text)
    {
        auto *label = new QLabel(text, this);
        label->move(20, 20);
    }
};

std::shared_ptr<XXXTabItemDefine> definition(const QString &title, const QString &image)
{
    auto item = std::make_shared<XXXTabItemDefine>();
    item->setTitle(title);
    item->setIdentifier(title);
    item->setImageName(image);
    item->setToolTip(title);
    return item;
}

class Inspector : public X3InspectorTabViewController
{
public:
    XXXTabItemDefineList tabColumnsDef() const override
    {
        return {definition("General", "PreferencesGeneral"), definition("Add", "AddTemplate"),
                definition("Refresh", "RefreshTemplate")};
    }
    void tabViewControllersConfig() override
    {
        setControllers(
            {new Properties, new Note(QStringLiteral("Second tab")), new Note(QStringLiteral("Third tab"))});
    }
};

class Panel : public XXXFormPanel
{
public:
    Panel()
        : XXXFormPanel(3, 2)
    {
    }
    QList<XXXFormElement> formElementsDef() const override
    {
        QList<XXXFormElement> list;
        const QList<std::pair<int, QString>> kinds = {{0, "Name"}, {1, "name"},     {0, "Host"},
                                                      {1, "host"}, {0, "Database"}, {2, "database"}};
        for (const auto &[type, text] : kinds) {
            XXXFormElement e;
            e.elementType = type;
            e.title = text;
            e.identifier = text;
            e.defaultVal = type == 0 ? QVariant() : QVariant(text + QStringLiteral(" value"));
            e.items = {QStringLiteral("0"), QStringLiteral("1")};
            list << e;
        }
        return list;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Pavisade::registerPavisadeClasses();
    const QString folder = PavisadeShots::pictureFolder(argc, argv);

    Inspector inspector;
    inspector.resize(360, 300);
    inspector.view();
    inspector.show();
    inspector.activateWindow();
    QTest::qWaitFor([&] { return inspector.isActiveWindow(); }, 2000);
    QTest::qWait(100);
    std::printf("inspector active: %s\n", inspector.isActiveWindow() ? "yes" : "no");
    PavisadeShots::save(&inspector, folder, QStringLiteral("inspector-active.png"));

    QWidget other;
    other.resize(100, 100);
    other.move(500, 400);
    other.show();
    other.activateWindow();
    QTest::qWaitFor([&] { return !inspector.isActiveWindow(); }, 2000);
    QTest::qWait(100);
    inspector.selectedAtIndex(1);
    std::printf("inspector active: %s\n", inspector.isActiveWindow() ? "yes" : "no");
    PavisadeShots::save(&inspector, folder, QStringLiteral("inspector-inactive.png"));

    Properties properties;
    properties.resize(320, 260);
    properties.view();
    properties.show();
    QTest::qWait(100);
    PavisadeShots::save(&properties, folder, QStringLiteral("properties.png"));

    Panel panel;
    panel.setUpFormView();
    panel.setUpButtonView2();
    panel.show();
    QTest::qWait(100);
    PavisadeShots::save(&panel, folder, QStringLiteral("form-panel.png"));
    return 0;
}
