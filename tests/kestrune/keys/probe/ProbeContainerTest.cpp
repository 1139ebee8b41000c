#include "ProbeTestHelpers.h"

#include <kestrune/chrome/hud/HUDSegmentedCell.h>
#include <kestrune/keys/console/DerazCmdHelpViewController.h>
#include <kestrune/keys/console/DerazConsoleTextView.h>
#include <kestrune/keys/console/DerazConsoleViewController.h>
#include <kestrune/keys/probe/DerazDetailViewController.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>
#include <kestrune/shell/DerazViewController.h>

#include <QtTest/QTest>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QTabWidget>

using namespace ProbeTest;

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

// Counts the show and hide events of the widgets it watches.
class ShowCounter : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            ++count;
        return false;
    }
    int count = 0;
};

using ProbeContainerTest = ProbeFixture;

TEST_F(ProbeContainerTest, EachTabHoldsItsScreenAndEachTabChangeIsAnnounced)
{
    auto made = std::make_unique<DerazProbeViewController>();
    DerazProbeViewController *probe = made.get();

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
    EXPECT_EQ(tabs->widget(2)->findChildren<DerazConsoleViewController *>().size(), 1);
    EXPECT_EQ(tabs->widget(3)->findChildren<DerazCmdHelpViewController *>().size(), 1);
    ASSERT_TRUE(waitFor([&] { return recorder->indexes.size() >= 4; }));
    EXPECT_EQ(recorder->indexes.mid(recorder->indexes.size() - 4), (QList<int>{1, 2, 3, 0}));
    EXPECT_TRUE(waitFor([&] { return browser->dataDelegate()->index(0, 1).data().toString() == "changed"; }));
    state()->removeDelegate(recorder);
}

// Clicking the Console tab hands it the keyboard: what the user types next lands in the
// console's text, wherever the keyboard was before. A window brought back from the dock
// keeps the keyboard where the user left it, also beside a console on show.
TEST_F(ProbeContainerTest, ShowingTheConsoleGivesItsTextTheKeyboard)
{
    // The probe beside another control of the window, as it sits beside the key tree.
    QWidget window;
    auto *row = new QHBoxLayout(&window);
    auto *elsewhere = new QLineEdit(&window);
    row->addWidget(elsewhere);
    auto *probe = new DerazProbeViewController(&window);
    probe->view();
    row->addWidget(probe);
    window.resize(1000, 600);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTabWidget *tabs = probe->tabView();
    for (const int from : {0, 1, 3}) {
        SCOPED_TRACE(from);
        tabs->setCurrentIndex(from);
        // The keyboard is on a control of the screen shown, as after a click into it.
        QWidget *control = nullptr;
        for (QWidget *child : tabs->currentWidget()->findChildren<QWidget *>()) {
            if (!control && child->isVisible() && (child->focusPolicy() & Qt::ClickFocus))
                control = child;
        }
        ASSERT_TRUE(control);
        control->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() == control; }));
        tabs->setCurrentIndex(2);
        QPlainTextEdit *console = probe->derazConsoleViewController()->textView();
        ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() == console; }))
            << (QApplication::focusWidget() ? qPrintable(QApplication::focusWidget()->objectName()) : "none");
        console->moveCursor(QTextCursor::End);
        const QString before = console->toPlainText();
        QTest::keyClicks(QApplication::focusWidget(), "ping");
        EXPECT_EQ(console->toPlainText(), before + "ping");
        console->clear();
    }

    // The console on show, the keyboard in another control; the window goes to the dock
    // and comes back (the console is shown again by the window system).
    elsewhere->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() == elsewhere; }));
    ShowCounter shown;
    probe->derazConsoleViewController()->installEventFilter(&shown);
    window.showMinimized();
    ASSERT_TRUE(waitFor([&] { return window.isMinimized() && shown.count > 0; }));
    const int hidden = shown.count;
    window.showNormal();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(waitFor([&] { return shown.count > hidden && window.isActiveWindow(); }));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(QApplication::focusWidget(), elsewhere)
        << (QApplication::focusWidget() ? qPrintable(QApplication::focusWidget()->objectName()) : "none");
}

// The segmented container makes its four screens when it wakes, shows the first, and
// switches the one in its main view by segment; a screen keeps its state while another
// is shown, and the switches are not announced to the view state.
TEST_F(ProbeContainerTest, TheSegmentedContainerSwitchesTheSameScreensAndKeepsTheirState)
{
    QWidget window;
    DerazViewController root;
    root.setParentWindow(&window);
    DerazDetailViewController *detail = root.derazDetailViewController();
    EXPECT_EQ(root.derazDetailViewController(), detail);
    EXPECT_TRUE(detail->findChildren<X3CommonViewController *>().isEmpty()) << "no screen before it wakes";

    ASSERT_TRUE(connect());
    auto recorder = std::make_shared<TabRecorder>();
    state()->addDelegate<SimpleDBStateDelegate>(recorder, Bastwick::mainQueue());
    const int viewIndex = state()->viewIndex();

    detail->setParent(nullptr);
    detail->view();
    detail->resize(1000, 600);
    detail->show();
    EXPECT_EQ(detail->palette().color(QPalette::Window), QColor(0x2c, 0x31, 0x35));
    const QList<X3CommonViewController *> screens = detail->controllers();
    ASSERT_EQ(screens.size(), 4);
    EXPECT_EQ(screens.at(0), detail->derazKeysBrowseViewController());
    EXPECT_EQ(screens.at(1), detail->derazKeysQueryViewController());
    EXPECT_EQ(screens.at(2)->metaObject()->className(), QByteArray("DerazConsoleViewController"));
    EXPECT_EQ(screens.at(3)->metaObject()->className(), QByteArray("DerazCmdHelpViewController"));
    for (X3CommonViewController *screen : screens)
        EXPECT_EQ(screen->parentWindow(), &window);

    // The one screen visible in the main view, and the one in its layout, is the current one.
    const auto showing = [&](int index) {
        QList<X3CommonViewController *> visible;
        for (X3CommonViewController *screen : screens) {
            if (screen->isVisible())
                visible.append(screen);
        }
        QLayout *layout = detail->mainView()->layout();
        return visible == QList<X3CommonViewController *>{screens.at(index)} && layout->count() == 1 &&
               layout->itemAt(0)->widget() == screens.at(index) &&
               screens.at(index)->parent() == detail->mainView() &&
               detail->currentViewController() == screens.at(index) && screens.at(index)->isVisible() &&
               screens.at(index)->geometry() == detail->mainView()->rect() && detail->lastIndex() == index;
    };
    EXPECT_TRUE(waitFor([&] { return showing(0); }));
    EXPECT_EQ(detail->segmentedControl()->selectedSegment(), 0);

    HUDSegmentedCell *segments = detail->segmentedControl();
    const auto click = [&](int segment) {
        QTest::mouseClick(segments, Qt::LeftButton, {}, segments->segmentRect(segment).center().toPoint());
    };
    click(1);
    EXPECT_TRUE(waitFor([&] { return showing(1); }));
    detail->derazKeysQueryViewController()->queryTextView()->setPlainText("k:*");

    // The segment already shown: the screen is neither taken out nor shown again.
    ShowCounter shows;
    screens.at(1)->installEventFilter(&shows);
    click(1);
    detail->switchViewAtIndex(1);
    QApplication::processEvents();
    EXPECT_EQ(shows.count, 0);
    screens.at(1)->removeEventFilter(&shows);
    EXPECT_TRUE(waitFor([&] { return showing(1); }));
    QTest::keyClick(segments, Qt::Key_Right);
    EXPECT_TRUE(waitFor([&] { return showing(2); }));
    click(3);
    EXPECT_TRUE(waitFor([&] { return showing(3); }));
    click(1);
    EXPECT_TRUE(waitFor([&] { return showing(1); }));
    EXPECT_EQ(detail->derazKeysQueryViewController()->queryTextView()->toPlainText(), "k:*");
    // No segment selected (only possible in code) shows what was there.
    segments->setSelectedSegment(-1);
    EXPECT_TRUE(waitFor([&] { return showing(1); }));

    QApplication::processEvents();
    EXPECT_TRUE(recorder->indexes.isEmpty());
    EXPECT_EQ(state()->viewIndex(), viewIndex);
    state()->removeDelegate(recorder);
    delete detail;
}

} // namespace
