// A window with a tree screen (a connection, its databases and 100,000 keys served by
// index) beside a paged table screen (text, check-box and combo-box columns, a toolbar
// strip with the page label),
// for looking at them. With an output folder, each screen and the window are saved as
// PNG files there and the program ends:
//
//   data_views_harness [output-folder]

#include <pavisade/PavisadeClasses.h>
#include <pavisade/panels/XXXProgressIndicatorPanel.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/tables/X3TableViewPageController.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/trees/X3TreeViewController.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <QtCore/QDir>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QSplitter>

namespace {

class KeyRows : public Pavisade::TreeLeafRows
{
public:
    explicit KeyRows(QString prefix)
        : m_prefix(std::move(prefix))
    {
    }
    qsizetype childCount() const override { return 100000; }
    QVariant childValue(qsizetype index, const QString &key) const override
    {
        const QString name = QStringLiteral("user:%1:session").arg(index, 6, 10, QLatin1Char('0'));
        if (key == QLatin1String("name"))
            return name;
        if (key == QLatin1String("url"))
            return m_prefix + name;
        if (key == QLatin1String("type"))
            return QStringLiteral("string");
        return {};
    }

private:
    QString m_prefix;
};

class KeyTreeScreen : public X3TreeViewController
{
public:
    XXXTreeViewDataDelegate model;
    Pavisade::TreeNodePtr database;

    XXXNSTableColumnFieldList treeColumnsDef() const override
    {
        XXXNSTableColumnField def;
        def.setIdentifier(QStringLiteral("name"));
        def.setTitle(QStringLiteral("Keys"));
        XXXNSTableColumnField type;
        type.setIdentifier(QStringLiteral("type"));
        type.setTitle(QStringLiteral("Type"));
        type.setWidth(90);
        return {def, type};
    }
    void treeViewDelegateConfig() override
    {
        model.setOwner(treeView());
        const auto connection = Pavisade::TreeNode::createWithChildren(
            {{QStringLiteral("name"), QStringLiteral("localhost:6379")},
             {QStringLiteral("url"), QStringLiteral("1")}});
        for (int db = 0; db < 16; ++db) {
            const QString name = QStringLiteral("DB%1").arg(db);
            const auto node = Pavisade::TreeNode::createWithChildren(
                {{QStringLiteral("name"), name},
                 {QStringLiteral("url"), QStringLiteral("1/") + name},
                 {QStringLiteral("type"), QStringLiteral("database")}});
            if (db == 0) {
                node->setLeafRows(std::make_shared<KeyRows>(QStringLiteral("1/DB0/")));
                database = node;
            }
            connection->appendChild(node);
        }
        model.addData(connection);
        treeView()->expand(model.indexForNode(connection));
        treeView()->expand(model.indexForNode(database));
    }
};

class ProfileTableScreen : public X3TableViewPageController
{
public:
    XXXTableViewDataDelegate model;

    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override
    {
        QList<XXXButtonToolBarItem> items = XXXButtonToolBar::itemConfig();
        XXXButtonToolBarItem pages;
        pages.toolBarItemType = XXXButtonToolBarItem::TypeLabel;
        pages.identifier = QStringLiteral("pages");
        pages.alignment = 1;
        items.append(pages);
        return items;
    }

    XXXNSTableColumnFieldList tableColumnsDef() const override
    {
        XXXNSTableColumnField name;
        name.setIdentifier(QStringLiteral("name"));
        name.setTitle(QStringLiteral("Name"));
        name.setEditable(true);
        XXXNSTableColumnField host;
        host.setIdentifier(QStringLiteral("host"));
        host.setTitle(QStringLiteral("Host"));
        host.setTextColor(QColor(0x33, 0x55, 0x99));
        XXXNSTableColumnField port;
        port.setIdentifier(QStringLiteral("port"));
        port.setTitle(QStringLiteral("Port"));
        port.setWidth(70);
        port.setMinWidth(70);
        port.setDataAlignment(XXXNSTableColumnField::kAlignRight);
        port.setHeaderAlignment(XXXNSTableColumnField::kAlignRight);
        XXXNSTableColumnField scheme;
        scheme.setIdentifier(QStringLiteral("scheme"));
        scheme.setTitle(QStringLiteral("Scheme"));
        scheme.setCellType(XXXNSTableColumnField::kComboBoxCell);
        scheme.setItems({QStringLiteral("deraz"), QStringLiteral("sqlite")});
        scheme.setDefaultVal(QStringLiteral("deraz"));
        scheme.setEditable(true);
        scheme.setWidth(90);
        scheme.setMinWidth(90);
        XXXNSTableColumnField autoLogin;
        autoLogin.setIdentifier(QStringLiteral("autoLogin"));
        autoLogin.setTitle(QStringLiteral("Auto"));
        autoLogin.setCellType(XXXNSTableColumnField::kCheckBoxCell);
        autoLogin.setEditable(true);
        autoLogin.setWidth(60);
        autoLogin.setMinWidth(60);
        autoLogin.setHeaderAlignment(XXXNSTableColumnField::kAlignCenter);
        return {name, host, port, scheme, autoLogin};
    }
    void tableViewDelegateConfig() override
    {
        Pavisade::TableRowList rows;
        const QStringList names = {QStringLiteral("local"), QStringLiteral("staging"),
                                   QStringLiteral("cache-01"), QStringLiteral("cache-02"),
                                   QStringLiteral("sessions")};
        for (int i = 0; i < names.size(); ++i)
            rows.append(Pavisade::DictionaryRow::create(
                {{QStringLiteral("name"), names.at(i)},
                 {QStringLiteral("host"), QStringLiteral("10.0.0.%1").arg(i + 1)},
                 {QStringLiteral("port"), 6379 + i},
                 {QStringLiteral("autoLogin"), i % 2}}));
        model.setData(rows);
        model.setOwner(tableView());
        tableView()->selectRow(1);
        // The first page of 12 profiles, 5 to a page.
        auto *manager = new XXXPageManager;
        manager->setPageSize(5);
        manager->setTotalRowNum(12);
        setPageManager(manager);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Pavisade::registerPavisadeClasses();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Data views"));
    auto *split = new QSplitter;
    auto *tree = new KeyTreeScreen;
    auto *table = new ProfileTableScreen;
    split->addWidget(tree->view());
    split->addWidget(table->view());
    split->setSizes({320, 640});
    window.setCentralWidget(split);
    window.resize(960, 560);
    table->setUpToolBarConfig();
    table->updatePageInfo();
    window.show();

    const QStringList args = app.arguments();
    if (args.size() < 2)
        return app.exec();
    const QDir out(args.at(1));
    QTimer::singleShot(200, &app, [&] {
        table->resizeUI();
        tree->treeViewSizeConfig();
    });
    QTimer::singleShot(400, &app, [&] {
        tree->grab().save(out.filePath(QStringLiteral("tree_screen_top.png")));
        tree->treeView()->scrollTo(tree->model.index(5000, 0, tree->model.indexForNode(tree->database)));
        tree->treeView()->setCurrentIndex(
            tree->model.index(5003, 0, tree->model.indexForNode(tree->database)));
        QTimer::singleShot(200, &app, [&] {
            tree->grab().save(out.filePath(QStringLiteral("tree_screen.png")));
            table->grab().save(out.filePath(QStringLiteral("table_screen.png")));
            window.grab().save(out.filePath(QStringLiteral("data_views_window.png")));
            auto *panel = new XXXProgressIndicatorPanel(QSize(300, 80), &window);
            panel->updateIndicatorInfo(QStringLiteral("Importing keys..."));
            panel->beginOnWindow(&window);
            QTimer::singleShot(300, &app, [&, panel] {
                panel->grab().save(out.filePath(QStringLiteral("progress_panel.png")));
                app.quit();
            });
        });
    });
    return app.exec();
}
