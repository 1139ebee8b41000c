#include "ProbeTestHelpers.h"

#include <kestrune/keys/KeyClasses.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>

#include <bastwick/platform/ClassRegistry.h>

#include "support/LogCapture.h"
#include "support/TestSetup.h"

#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QTabWidget>

using namespace ProbeTest;

static TestSupport::SetupHook registerClasses([] { Kestrune::registerKeyClasses(); });

namespace {

// Hears the tab announcements of the view state.
class TabRecorder : public SimpleDBStateDelegate
{
public:
    void dataProbeTabIndexChanged(SimpleDBViewState *, const QString &, int viewIndex) override
    {
        indexes.append(viewIndex);
    }
    QList<int> indexes;
};

using ProbeContainerTest = ProbeFixture;

TEST_F(ProbeContainerTest, TheShellMakesItByNameAndEachTabIsAnnounced)
{
    std::unique_ptr<QObject> made(
        Bastwick::ClassRegistry::instance().createObject("DerazProbeViewController"));
    auto *probe = qobject_cast<DerazProbeViewController *>(made.get());
    ASSERT_TRUE(probe);

    probe->view();
    probe->resize(1000, 600);
    probe->show();
    QTabWidget *tabs = probe->tabView();
    ASSERT_EQ(tabs->count(), 4);
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles.append(tabs->tabText(i));
    EXPECT_EQ(titles, (QStringList{"Browse", "Query", "Console", "Command"}));
    EXPECT_EQ(probe->palette().color(QPalette::Window), QColor(0x2c, 0x31, 0x35));

    fillKeys("k:", 3);
    ASSERT_TRUE(connect());
    auto recorder = std::make_shared<TabRecorder>();
    state()->addDelegate<SimpleDBStateDelegate>(recorder, Bastwick::mainQueue());
    DerazKeysBrowseViewController *browser = probe->derazKeysBrowseViewController();
    ASSERT_TRUE(waitFor([&] { return browser->dataDelegate()->itemCount() == 3; }));

    tabs->setCurrentIndex(1);
    // The query's own controls show with its tab.
    DerazKeysQueryViewController *query = probe->derazKeysQueryViewController();
    for (QWidget *control :
         {static_cast<QWidget *>(query->queryTextView()), static_cast<QWidget *>(query->logTextView()),
          static_cast<QWidget *>(query->runButton()), static_cast<QWidget *>(query->clearButton())})
        EXPECT_TRUE(control->isVisible()) << qPrintable(control->objectName());
    // A value changes while another tab is in front; the browser reads its page again
    // when it comes back.
    const QByteArray first = shownKeys(browser).first();
    server().command({"SET", first, "changed"});
    for (int index : {2, 3, 0})
        tabs->setCurrentIndex(index);
    ASSERT_TRUE(waitFor([&] { return recorder->indexes.size() >= 4; }));
    EXPECT_EQ(recorder->indexes.mid(recorder->indexes.size() - 4), (QList<int>{1, 2, 3, 0}));
    EXPECT_TRUE(waitFor([&] { return browser->dataDelegate()->index(0, 1).data().toString() == "changed"; }));
    state()->removeDelegate(recorder);
}

TEST_F(ProbeContainerTest, AScreenClassThatIsMissingLeavesItsTabEmpty)
{
    const auto *console = Bastwick::ClassRegistry::instance().metaObject("DerazConsoleViewController");
    // Take the console's class away for this test (the other tabs are unaffected).
    std::optional<Bastwick::ClassRegistry::Entry> kept;
    if (console) {
        kept = Bastwick::ClassRegistry::Entry{
            QStringLiteral("DerazConsoleViewController"), console,
            Bastwick::ClassRegistry::instance().objectFactory(QStringLiteral("DerazConsoleViewController")),
            QMetaType()};
        Bastwick::ClassRegistry::instance().remove("DerazConsoleViewController");
    }
    TestSupport::LogCapture log;
    {
        DerazProbeViewController probe;
        probe.view();
        probe.resize(800, 500);
        probe.show();
        probe.tabView()->setCurrentIndex(2);
        QWidget *page = probe.tabView()->widget(2);
        const auto placed =
            page->findChildren<X3CommonViewController *>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(placed.size(), 1);
        EXPECT_EQ(placed.first()->metaObject(), &X3CommonViewController::staticMetaObject);
        EXPECT_TRUE(placed.first()->findChildren<QWidget *>().isEmpty());
        EXPECT_EQ(log.count("DerazConsoleViewController is not available"), 1);
    }
    if (kept)
        Bastwick::ClassRegistry::instance().add(*kept);
}

} // namespace
