#include <pavisade/toolbar/XXXToolBar.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <QtCore/QFile>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QToolBar>

#include <gtest/gtest.h>

namespace {

QString item(const QString &label, const QString &notification, const QString &enable = "1")
{
    return QStringLiteral("<toolbaritem><enable>%1</enable><class>X</class><notification>%2</notification>"
                          "<label>%3</label><palettelabel>%3 palette</palettelabel><tooltip>%3 tip</tooltip>"
                          "<image>AddTemplate</image></toolbaritem>")
        .arg(enable, notification, label);
}

// A definition file in a temporary folder and a window to put its toolbar on.
struct Definition
{
    TestSupport::TempDir dir;
    QMainWindow window;

    QString write(const QString &xml)
    {
        const QString path = dir.path("toolbar.xml");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(xml.toUtf8());
        return path;
    }

    std::unique_ptr<XXXToolBar> load(const QString &body)
    {
        return std::make_unique<XXXToolBar>(&window, write("<root>" + body + "</root>"));
    }
};

// What the toolbar shows, left to right: item identifiers and "<space>" for the
// flexible space.
QStringList shown(const XXXToolBar &bar)
{
    QStringList out;
    for (QAction *action : bar.toolbar()->actions()) {
        if (auto *item = qobject_cast<XXXToolBarItem *>(action))
            out << item->identifier();
        else if (bar.toolbar()->widgetForAction(action) &&
                 bar.toolbar()->widgetForAction(action)->objectName() == "NSToolbarFlexibleSpaceItem")
            out << "<space>";
    }
    return out;
}

TEST(WindowToolBar, ItemsInDocumentOrderWithFlexibleSpaceBeforeTheLast)
{
    Definition def;
    auto bar = def.load("<identifier>main</identifier>" + item("A", "aMsg") + item("B", "bMsg") +
                        item("Off", "offMsg", "0") + "<group>" + item("C", "cMsg") + "</group>");
    ASSERT_NE(bar->toolbar(), nullptr);
    EXPECT_EQ(bar->toolbar()->objectName(), "main");
    EXPECT_EQ(bar->count(), 3);
    EXPECT_EQ(bar->toolbarOrderedIdentifiers(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(bar->toolbarDefaultItemIdentifiers(), bar->toolbarAllowedItemIdentifiers());
    EXPECT_EQ(shown(*bar), (QStringList{"A", "B", "<space>", "C"}));
    EXPECT_EQ(bar->itemForItemIdentifier("Off"), nullptr);
    EXPECT_TRUE(def.window.isVisible());
    EXPECT_TRUE(def.window.toolBarArea(bar->toolbar()) != Qt::NoToolBarArea);

    XXXToolBarItem *b = bar->itemForItemIdentifier("B");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(), "B");
    EXPECT_EQ(b->paletteLabel(), "B palette");
    EXPECT_EQ(b->toolTip(), "B tip");
    EXPECT_EQ(b->notificationName(), "bMsg");
    EXPECT_FALSE(b->icon().isNull());
}

TEST(WindowToolBar, ClickReportsTheNotificationOnceAndLogs)
{
    Definition def;
    auto bar = def.load("<identifier>main</identifier>" + item("A", "openMsg") +
                        "<toolbaritem><enable>yes</enable><class>X</class><notification>cfgMsg</notification>"
                        "<label>Config</label></toolbaritem>");
    ASSERT_EQ(bar->count(), 2);

    TestSupport::LogCapture log;
    bar->itemForItemIdentifier("A")->trigger(); // no callback yet: only the log line
    EXPECT_TRUE(log.contains("Firing off \"openMsg\" notification"));

    QList<QVariantMap> calls;
    bar->setToolBarCallbackBlock([&](const QVariantMap &message) { calls << message; });
    bar->itemForItemIdentifier("A")->trigger();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls.first(), (QVariantMap{{"message", "openMsg"}}));

    XXXToolBarItem *config = bar->itemForItemIdentifier("Config");
    EXPECT_EQ(config->text(), "Configuration");
    EXPECT_EQ(config->toolTip(), "Configuration");
    EXPECT_EQ(config->paletteLabel(), "Configuration");
    config->trigger();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls.last(), (QVariantMap{{"message", "cfgMsg"}}));
}

TEST(WindowToolBar, SettingsFromExactTextsAndPresence)
{
    struct Case
    {
        const char *settings;
        int sizeMode, displayMode;
        bool customisation, separator;
    };
    const Case cases[] = {
        {"", 0, 0, false, false},
        {"<sizemode>NSToolbarSizeModeSmall</sizemode><displaymode>NSToolbarDisplayModeLabelOnly</"
         "displaymode>",
         2, 3, false, false},
        {"<sizemode>nstoolbarsizemodesmall</sizemode><displaymode>IconOnly</displaymode>", 0, 0, false,
         false},
        {"<x><sizemode>NSToolbarSizeModeRegular</sizemode></x><displaymode>NSToolbarDisplayModeIconOnly</"
         "displaymode>"
         "<allowsusercustomization/><showsbaselineseparator>0</showsbaselineseparator>",
         1, 2, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.settings);
        Definition def;
        auto bar = def.load(QStringLiteral("<identifier>t</identifier>") + c.settings + item("A", "m"));
        EXPECT_EQ(bar->sizeMode(), c.sizeMode);
        EXPECT_EQ(bar->displayMode(), c.displayMode);
        EXPECT_EQ(bar->allowsUserCustomization(), c.customisation);
        EXPECT_EQ(bar->showsBaselineSeparator(), c.separator);
    }
    Definition def;
    auto bar = def.load("<identifier>t</identifier><displaymode>NSToolbarDisplayModeLabelOnly</displaymode>" +
                        item("A", "m"));
    EXPECT_EQ(bar->toolbar()->toolButtonStyle(), Qt::ToolButtonTextOnly);
}

TEST(WindowToolBar, DuplicateLabelsKeepTheLaterItem)
{
    Definition def;
    auto bar = def.load("<identifier>t</identifier>" + item("A", "first") + item("A", "second"));
    EXPECT_EQ(bar->toolbarOrderedIdentifiers(), (QStringList{"A", "A"}));
    EXPECT_EQ(bar->count(), 1);
    EXPECT_EQ(bar->itemForItemIdentifier("A")->notificationName(), "second");
}

TEST(WindowToolBar, UnreadableDefinitionsGiveNoToolbarAndOneLogLine)
{
    struct Case
    {
        const char *name;
        const char *xml; // null: the file does not exist
    };
    const Case cases[] = {
        {"missing file", nullptr},
        {"not markup", "just text & more"},
        {"no identifier",
         "<root><toolbaritem><enable>1</enable><class>X</class><notification>n</notification>"
         "<label>A</label><palettelabel>p</palettelabel><tooltip>t</tooltip><image>i</image>"
         "</toolbaritem></root>"},
        {"empty", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Definition def;
        const QString path = c.xml ? def.write(c.xml) : def.dir.path("absent.xml");
        TestSupport::LogCapture log;
        XXXToolBar bar(&def.window, path);
        EXPECT_EQ(bar.toolbar(), nullptr);
        EXPECT_EQ(bar.count(), 0);
        EXPECT_TRUE(def.window.findChildren<QToolBar *>().isEmpty());
        EXPECT_EQ(log.count(path), 1);
    }
}

// A window answers the toolbar built for it while that toolbar and its bar live: the
// newest of several, the one before once the newest goes, and none for another window
// or a definition that gave no toolbar.
TEST(WindowToolBar, AWindowKnowsTheToolbarBuiltForIt)
{
    Definition def;
    QMainWindow other;
    EXPECT_EQ(XXXToolBar::ofWindow(&def.window), nullptr);
    EXPECT_EQ(XXXToolBar::ofWindow(nullptr), nullptr);

    auto first = def.load("<identifier>first</identifier>" + item("A", "a"));
    EXPECT_EQ(XXXToolBar::ofWindow(&def.window), first.get());
    EXPECT_EQ(XXXToolBar::ofWindow(&other), nullptr);
    {
        auto second = def.load("<identifier>second</identifier>" + item("B", "b"));
        EXPECT_EQ(XXXToolBar::ofWindow(&def.window), second.get());
        auto unread = def.load("<toolbaritem/>");
        ASSERT_EQ(unread->toolbar(), nullptr);
        EXPECT_EQ(XXXToolBar::ofWindow(&def.window), second.get());
    }
    EXPECT_EQ(XXXToolBar::ofWindow(&def.window), first.get());

    delete first->toolbar();
    EXPECT_EQ(XXXToolBar::ofWindow(&def.window), nullptr);
}

TEST(WindowToolBar, MalformedMarkupIsRepairedAndStillGivesItsToolbar)
{
    const QString wellFormed =
        "<root><identifier>main</identifier>" + item("A &amp; B", "a&amp;b") + item("C", "c") + "</root>";
    struct Case
    {
        const char *name;
        QString xml;
    };
    const Case cases[] = {
        {"well-formed", wellFormed},
        {"stray ampersands",
         "<root><identifier>main</identifier>" + item("A & B", "a&b") + item("C", "c") + "</root>"},
        {"unclosed tag in a text",
         "<root><identifier>main</identifier>"
         "<toolbaritem><enable>1</enable><class>X</class><notification>a&amp;b</notification>"
         "<label>A &amp; B</label><palettelabel>A &amp; B palette</palettelabel>"
         "<tooltip><b>A &amp; B tip</tooltip><image>AddTemplate</image></toolbaritem>" +
             item("C", "c") + "</root>"},
        {"unclosed elements at the end and a stray end tag",
         "<root><identifier>main</identifier></nothing>" + item("A &amp; B", "a&amp;b") +
             "<toolbaritem><enable>1</enable><class>X</class><notification>c</notification>"
             "<label>C</label><palettelabel>C palette</palettelabel><tooltip>C tip</tooltip>"
             "<image>AddTemplate</image>"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Definition def;
        const QString path = def.write(c.xml);
        TestSupport::LogCapture log;
        XXXToolBar bar(&def.window, path);
        ASSERT_NE(bar.toolbar(), nullptr);
        EXPECT_EQ(bar.toolbar()->objectName(), "main");
        EXPECT_EQ(shown(bar), (QStringList{"A & B", "<space>", "C"}));
        const XXXToolBarItem *a = bar.itemForItemIdentifier("A & B");
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->notificationName(), "a&b");
        EXPECT_EQ(a->paletteLabel(), "A & B palette");
        EXPECT_EQ(a->toolTip(), "A & B tip");
        EXPECT_EQ(bar.itemForItemIdentifier("C")->toolTip(), "C tip");
        // A repair is reported once, naming the file; a well-formed file reads silently.
        EXPECT_EQ(log.count(path), c.xml == wellFormed ? 0 : 1);
        EXPECT_EQ(log.count("skipped"), 0);
    }
}

TEST(WindowToolBar, ItemsMissingARequiredChildAreSkippedWithALogLine)
{
    Definition def;
    TestSupport::LogCapture log;
    auto bar =
        def.load("<identifier>t</identifier>"
                 "<toolbaritem><enable>1</enable><notification>n</notification><label>NoClass</label>"
                 "</toolbaritem>"
                 "<toolbaritem><enable>1</enable><class>X</class><notification>n</notification>"
                 "<label>NoImage</label><palettelabel>p</palettelabel><tooltip>t</tooltip></toolbaritem>"
                 "<toolbaritem><enable>1</enable><class>X</class><notification>n</notification>"
                 "</toolbaritem>" +
                 item("A", "m"));
    EXPECT_EQ(bar->toolbarOrderedIdentifiers(), QStringList{"A"});
    EXPECT_EQ(log.count("skipped"), 3);
}

} // namespace
