#include <pavisade/viewcontrollers/Localization.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QTranslator>
#include <QtGui/QAction>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

namespace {

// A table with a few entries of the run-time context, installed while it lives.
class TableTranslator : public QTranslator
{
public:
    TableTranslator() { QCoreApplication::installTranslator(this); }
    ~TableTranslator() override { QCoreApplication::removeTranslator(this); }
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (QByteArray(context) != Pavisade::localizationContext())
            return QString();
        static const QHash<QString, QString> table = {{"Save", "Sichern"},
                                                      {"File", "Ablage"},
                                                      {"Open", "Öffnen"},
                                                      {"Name", "Name:"},
                                                      {"Help", "Hilfe"}};
        return table.value(QString::fromUtf8(source));
    }
};

} // namespace

TEST(Localization, TheFrameworkTableGivesTheTextsOfItsKeys)
{
    Pavisade::installPavisadeTranslations();
    EXPECT_EQ(Pavisade::localizedString("WarningStr"), "Warning");
    EXPECT_EQ(Pavisade::localizedString("OkStr"), "OK");
    EXPECT_EQ(Pavisade::localizedString("NoSuchKey"), "NoSuchKey");
}

TEST(Localization, ViewWalksTranslateDirectChildrenByTheirTrimmedText)
{
    TableTranslator table;
    QWidget view;
    auto *button = new QPushButton(" Save\n", &view);
    auto *unknown = new QPushButton("  Keep  ", &view);
    auto *label = new QLabel("Name ", &view);
    auto *field = new QLineEdit("Save", &view);
    auto *box = new QGroupBox(&view);
    auto *nestedLabel = new QLabel("Name", box);
    auto *nestedButton = new QPushButton("Save", box);

    Pavisade::buttonGLocation(&view);
    EXPECT_EQ(button->text(), "Sichern");
    EXPECT_EQ(unknown->text(), "Keep") << "a text without a translation stays, trimmed";
    EXPECT_EQ(nestedButton->text(), "Save") << "deeper children are not visited";
    EXPECT_EQ(label->text(), "Name ") << "the button walk leaves labels alone";

    Pavisade::lableGLocation(&view);
    EXPECT_EQ(label->text(), "Name:");
    EXPECT_EQ(field->text(), "Sichern");
    EXPECT_EQ(nestedLabel->text(), "Name");
}

TEST(Localization, MenuWalksGoOneLevelDeep)
{
    TableTranslator table;
    QMenu menu("File");
    QAction *open = menu.addAction("Open");
    QMenu *sub = menu.addMenu("Save");
    QAction *inner = sub->addAction("Open");
    QAction *plain = menu.addAction("Quit");

    Pavisade::gi18Location(&menu);
    EXPECT_EQ(menu.title(), "Ablage");
    EXPECT_EQ(open->text(), "Öffnen");
    EXPECT_EQ(sub->menuAction()->text(), "Sichern");
    EXPECT_EQ(plain->text(), "Quit");
    EXPECT_EQ(inner->text(), "Open") << "the menu walk does not enter submenus";

    Pavisade::gi18Location(sub->menuAction());
    EXPECT_EQ(inner->text(), "Öffnen") << "the item walk translates its submenu's items";
}
