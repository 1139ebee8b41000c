// The code viewers, the CSV grid, the matrix forms and the XML window toolbar, for
// looking at under a display (Xvfb): pavisade_viewers_harness <output folder> writes
// code-tabs-sql.png, code-tabs-json.png, csv-grid.png, forms.png and toolbar.png there
// and quits.

#include <pavisade/PavisadeClasses.h>
#include <pavisade/cells/XXXComboBoxCell.h>
#include <pavisade/code/CodeEditor.h>
#include <pavisade/code/CodeEditorStyles.h>
#include <pavisade/code/X3CodeSyntaxTabViewController.h>
#include <pavisade/grids/NSFormDynamicForm.h>
#include <pavisade/grids/NSMatrixDynamicForm.h>
#include <pavisade/grids/XXXCSVGridDataDelegate.h>
#include <pavisade/grids/XXXCSVGridView.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/toolbar/XXXToolBar.h>

#include <corbelan/CorbelanClasses.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QTabWidget>

namespace {

std::shared_ptr<XXXTabItemDefine> tab(const QString &title)
{
    auto item = std::make_shared<XXXTabItemDefine>();
    item->setTitle(title);
    item->setIdentifier(title.toLower());
    return item;
}

class SampleViewers : public X3CodeSyntaxTabViewController
{
public:
    XXXTabItemDefineList tabColumnsDef() const override { return {tab("SQL"), tab("JSON"), tab("XML")}; }
    void syntaxViewConfig() override
    {
        const QList<CodeEditor *> editors = syntaxViews();
        if (editors.size() != 3)
            return;
        Pavisade::setSQLStyle(editors[0]);
        Pavisade::setJSONStyle(editors[1]);
        Pavisade::setXMLStyle(editors[2]);
        updateSyntaxViewWithString("-- keys of database 0\nSELECT key, type, ttl\n  FROM keys\n WHERE type = "
                                   "'hash' AND ttl > 60\n ORDER BY key;\n",
                                   0);
        updateSyntaxViewWithString("{\n  \"key\": \"user:1\",\n  \"type\": \"hash\",\n  \"ttl\": -1,\n"
                                   "  \"value\": {\"name\": \"Ada\", \"visits\": 42, \"admin\": true}\n}\n",
                                   1);
        updateSyntaxViewWithString("<?xml version=\"1.0\"?>\n<keys db=\"0\">\n  <key type=\"string\">greeting"
                                   "</key>\n  <!-- more keys -->\n</keys>\n",
                                   2);
        updateSyntaxViewEditable(false);
    }
};

void shoot(QWidget *widget, const QDir &out, const QString &name)
{
    widget->show();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    widget->grab().save(out.filePath(name));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Corbelan::registerCorbelanClasses();
    Pavisade::registerPavisadeClasses();
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

    SampleViewers viewers;
    viewers.resize(560, 260);
    viewers.view();
    viewers.viewConfig();
    shoot(&viewers, out, "code-tabs-sql.png");
    viewers.tabView()->setCurrentIndex(1);
    shoot(&viewers, out, "code-tabs-json.png");

    XXXCSVGridView grid;
    XXXCSVGridDataDelegate model;
    grid.styleConfig();
    grid.setFirstColumnBackColor();
    model.setOwner(&grid);
    Pavisade::updateColumnsDef(&grid, Pavisade::csvGridColumns(5));
    Pavisade::TableRowList rows;
    const QStringList names{"greeting", "user:1", "queue", "scores"};
    const QStringList types{"string", "hash", "list", "zset"};
    for (int i = 0; i < names.size(); ++i)
        rows << Pavisade::DictionaryRow::create(
            {{"A", names[i]}, {"B", types[i]}, {"C", i == 0 ? -1 : 60 * i}, {"D", QString::number(i * 7)}});
    model.setData(rows);
    grid.resize(520, 300);
    shoot(&grid, out, "csv-grid.png");

    QWidget forms;
    forms.resize(520, 200);
    auto *layout = new QHBoxLayout(&forms);
    NSFormDynamicForm *form = NSFormDynamicForm::defaultFormWithRowNums(3);
    form->updateWithData(
        QVariantList{QVariantMap{{"title", "Host"}, {"value", "127.0.0.1"}, {"type", "Text"}},
                     QVariantMap{{"title", "Kind"}, {"value", ""}, {"type", "ComboBox"}},
                     QVariantMap{{"title", "Port"}, {"value", "6379"}, {"type", "Text"}}});
    NSMatrixDynamicForm *matrix = NSMatrixDynamicForm::defaultFormWithRowNums(3);
    matrix->updateWithData(QVariantList{QVariantMap{{"title", "Name"}, {"value", "main"}, {"type", "Text"}},
                                        QVariantMap{{"title", "Mode"}, {"value", ""}, {"type", "PopUp"}},
                                        QVariantMap{{"title", "Size"}, {"value", "30"}, {"type", "Text"}}});
    layout->addWidget(form);
    layout->addWidget(matrix);
    shoot(&forms, out, "forms.png");

    QTemporaryDir dir;
    const QString xmlPath = dir.filePath("toolbar.xml");
    QFile xml(xmlPath);
    if (xml.open(QIODevice::WriteOnly)) {
        QByteArray body = "<toolbar><identifier>main</identifier>"
                          "<displaymode>NSToolbarDisplayModeIconAndLabel</displaymode>"
                          "<sizemode>NSToolbarSizeModeSmall</sizemode>";
        for (const char *label : {"Add", "Remove", "Refresh"})
            body += QByteArray("<toolbaritem><enable>1</enable><class>X</class><notification>") + label +
                    "Msg</notification><label>" + label + "</label><palettelabel>" + label +
                    "</palettelabel><tooltip>" + label + "</tooltip><image>" + label +
                    "Template</image></toolbaritem>";
        body += "<toolbaritem><enable>1</enable><class>X</class><notification>configMsg</notification>"
                "<label>Config</label></toolbaritem></toolbar>";
        xml.write(body);
        xml.close();
    }
    QMainWindow window;
    window.setCentralWidget(new QLabel("window body"));
    window.resize(520, 160);
    XXXToolBar toolbar(&window, xmlPath);
    shoot(&window, out, "toolbar.png");
    return 0;
}
