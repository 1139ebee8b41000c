#include "ChromeTestHelpers.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <kestrune/chrome/TBDocument.h>
#include <kestrune/chrome/TBTitlebarView.h>

#include <pavisade/toolbar/XXXToolBar.h>

#include <bastwick/platform/UserDefaults.h>

#include <QtCore/QFile>
#include <QtGui/QPainterPath>
#include <QtWidgets/QLabel>
#include <QtWidgets/QToolBar>
#include <gtest/gtest.h>

using namespace ChromeTest;

namespace {
TBTitlebarView *barView(TBWindow &w)
{
    return qobject_cast<TBTitlebarView *>(w.titleBarView());
}
} // namespace

TEST(TitleBarView, TitleFrameStaysCentredClearOfTheButtonsAndIsCutBeforeFullScreen)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    w.setTitleBarHeight(36);
    w.setShowsTitle(true);
    TBTitlebarView *view = barView(w);
    ASSERT_NE(view, nullptr);

    w.setWindowTitle(QStringLiteral("Kestrune"));
    TBTitlebarView::TitleLayout title = view->titleLayout();
    EXPECT_NEAR(title.frame.center().x(), w.width() / 2.0, 0.5) << "a short title is centred";
    EXPECT_EQ(title.frame.y(), 2.0);

    // A long title starts 8 pixels right of the zoom button and ends 8 pixels left of
    // the full-screen button.
    w.setWindowTitle(QString(200, QLatin1Char('W')));
    title = view->titleLayout();
    const QAbstractButton *zoom = w.zoomButtonToLayout();
    EXPECT_EQ(title.frame.left(), zoom->x() + zoom->width() + 8);
    EXPECT_EQ(title.frame.right(), w.fullScreenButtonToLayout()->x() - 8);

    // Beside a document icon the title starts 4 pixels after it.
    w.setRepresentedURL(QUrl(QStringLiteral("WindowTitle")));
    const QAbstractButton *icon = w.standardWindowButton(TBWindow::DocumentIconButton);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(view->titleLayout().frame.left(), icon->x() + icon->width() + 4);
    EXPECT_TRUE(w.standardWindowButton(TBWindow::DocumentIconButton)->image().isNull())
        << "no proxy icon until the caller sets one";
    // Start-up sets it through the document-window interface; a window without a
    // represented URL has no button to take it.
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    Pavisade::setDocumentIconImage(&w, red);
    EXPECT_EQ(w.standardWindowButton(TBWindow::DocumentIconButton)->image(), red);
    TBWindow plain;
    Pavisade::setDocumentIconImage(&plain, red);
    EXPECT_EQ(plain.standardWindowButton(TBWindow::DocumentIconButton), nullptr);
    EXPECT_FALSE(plain.windowIcon().isNull());

    // Colours and shadow follow the activation state.
    EXPECT_EQ(view->titleLayout().color, TBWindow::defaultTitleTextColor(true));
    shown.main = false;
    EXPECT_NEAR(view->titleLayout().color.alphaF(), 0.5, 0.001);
    w.inactiveTitleTextShadow = QColor(Qt::red);
    EXPECT_EQ(view->titleLayout().shadowColor, QColor(Qt::red));
}

TEST(TitleBarView, ADrawingBlockReplacesTheBackgroundAndGetsTheExtendedRectangle)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    auto *toolbar = new QToolBar;
    toolbar->addAction(QStringLiteral("Connect"));
    w.addToolBar(toolbar);
    ASSERT_TRUE(waitFor([&] { return w.toolbarHeight() > 0; }));

    int calls = 0;
    bool sawMain = false;
    QRectF sawRect;
    QPainterPath sawClip;
    w.titleBarDrawingBlock = [&](QPainter &painter, bool main, const QRectF &rect, const QPainterPath &clip) {
        ++calls;
        sawMain = main;
        sawRect = rect;
        sawClip = clip;
        painter.fillRect(rect, QColor(10, 200, 30));
    };
    shown.main = false;
    const QImage image = w.titleBarView()->grab().toImage();
    EXPECT_GE(calls, 1);
    EXPECT_FALSE(sawMain);
    EXPECT_EQ(sawRect, QRectF(0, 0, w.width(), 22 + w.toolbarHeight()));
    EXPECT_TRUE(sawClip.contains(QPointF(w.width() / 2.0, 0.5)));
    EXPECT_FALSE(sawClip.contains(QPointF(0.3, 0.3))) << "rounded top corners";
    EXPECT_TRUE(sawClip.contains(QPointF(0.5, sawRect.bottom() - 0.5))) << "square bottom corners";
    // Nothing of the view's own background (separator, accent line) is drawn over it.
    EXPECT_EQ(image.pixelColor(w.width() / 2, 21), QColor(10, 200, 30));
    EXPECT_EQ(image.pixelColor(w.width() / 2, 0), QColor(10, 200, 30));
}

TEST(TitleBarView, OwnBackgroundDrawsSeparatorAndGradientForEachState)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    w.setTitleBarHeight(40);
    // Flat gradients make the probes exact apart from the faint noise overlay.
    w.titleBarGradient = QGradientStops{{0.0, QColor(100, 100, 100)}, {1.0, QColor(100, 100, 100)}};
    w.inactiveTitleBarGradient = QGradientStops{{0.0, QColor(220, 220, 220)}, {1.0, QColor(220, 220, 220)}};
    const int x = 300;
    const auto grey = [&](int y) { return w.titleBarView()->grab().toImage().pixelColor(x, y).red(); };

    EXPECT_NEAR(grey(20), 100, 12);
    EXPECT_NEAR(grey(39), 104, 12) << "separator";
    EXPECT_GT(grey(0), grey(20) + 20) << "accent line";
    shown.main = false;
    w.activationStateDidChange();
    EXPECT_NEAR(grey(20), 220, 12);
    EXPECT_NEAR(grey(39), 167, 12);

    w.setShowsBaselineSeparator(false);
    EXPECT_NEAR(grey(39), 220, 12);

    // A window with a toolbar: the toolbar's setting decides, the window's does not.
    TestSupport::TempDir dir;
    const QString definition = dir.path("toolbar.xml");
    QFile file(definition);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<root><identifier>main</identifier></root>");
    file.close();
    XXXToolBar toolbar(&w, definition);
    ASSERT_NE(toolbar.toolbar(), nullptr);
    EXPECT_EQ(XXXToolBar::ofWindow(&w), &toolbar);
    toolbar.setToolbarShowsBaselineSeparator(true);
    w.titleBarView()->update();
    EXPECT_NEAR(grey(39), 167, 12) << "the toolbar shows its separator";
    toolbar.setToolbarShowsBaselineSeparator(false);
    w.setShowsBaselineSeparator(true);
    EXPECT_NEAR(grey(39), 220, 12) << "the toolbar hides it";
}

TEST(TitleBarView, TheOlderLookDrawsItsOwnDefaults)
{
    struct Reset
    {
        ~Reset() { TBWindow::setUsesOldLook(false); }
    } reset;
    const auto white = [](double level) { return QColor::fromRgbF(level, level, level); };
    TBWindow::setUsesOldLook(true);
    EXPECT_EQ(TBWindow::defaultTitleBarGradient(true),
              (QGradientStops{{0.0, white(0.659)}, {1.0, white(0.812)}}));
    EXPECT_EQ(TBWindow::defaultTitleBarGradient(false),
              (QGradientStops{{0.0, white(0.851)}, {1.0, white(0.929)}}));
    EXPECT_EQ(TBWindow::defaultBaselineSeparatorColor(true), white(0.318));
    EXPECT_EQ(TBWindow::defaultBaselineSeparatorColor(false), white(0.6));
    EXPECT_EQ(TBWindow::defaultTitleTextColor(false),
              QColor::fromRgbF(56 / 255.0, 56 / 255.0, 56 / 255.0, 0.5));

    // The bar draws with them: the separator (bottom row) in both states.
    ShownWindow shown;
    TBWindow &w = shown.window;
    w.setTitleBarHeight(40);
    const auto grey = [&](int y) { return w.titleBarView()->grab().toImage().pixelColor(300, y).red(); };
    EXPECT_NEAR(grey(39), 81, 12);
    shown.main = false;
    w.activationStateDidChange();
    EXPECT_NEAR(grey(39), 153, 12);

    TBWindow::setUsesOldLook(false);
    w.update();
    EXPECT_NEAR(grey(39), 167, 12) << "the newer look again";
    EXPECT_EQ(TBWindow::defaultTitleBarGradient(true).size(), 4);
}

TEST(TitleBarView, TheNativeRendererIsLookedUpOnceAndOurDrawingServes)
{
    // In a fresh process (the look-up happens once per process): two windows, two
    // paints, one log line; the exit code is the number of lines.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TestSupport::LogCapture log;
            ShownWindow first;
            ShownWindow second;
            (void)first.window.titleBarView()->grab();
            (void)second.window.titleBarView()->grab();
            const int lines =
                log.count(QStringLiteral("Failed to load CoreUI, falling back to custom drawing"));
            std::exit(TBTitlebarView::usesNativeRenderer() ? 100 : lines);
        },
        testing::ExitedWithCode(1), "");
}

TEST(TitleBarView, DoubleClickMinimisesOnlyWhenTheUserAsks)
{
    Bastwick::UserDefaults &defaults = Bastwick::UserDefaults::standard();
    const QString key = QStringLiteral("AppleMiniaturizeOnDoubleClick");
    struct Case
    {
        std::optional<bool> stored;
        bool minimised;
    };
    for (const Case c : {Case{std::nullopt, false}, Case{false, false}, Case{true, true}}) {
        if (c.stored)
            defaults.setBool(*c.stored, key);
        else
            defaults.removeObjectForKey(key);
        ShownWindow shown;
        QWidget *view = shown.window.titleBarView();
        sendMouse(view, QEvent::MouseButtonPress, QPointF(300, 10));
        sendMouse(view, QEvent::MouseButtonRelease, QPointF(300, 10), Qt::NoButton);
        EXPECT_FALSE(shown.window.isMinimized()) << "a single click";
        sendMouse(view, QEvent::MouseButtonDblClick, QPointF(300, 10));
        sendMouse(view, QEvent::MouseButtonRelease, QPointF(300, 10), Qt::NoButton);
        EXPECT_EQ(shown.window.isMinimized(), c.minimised);
    }

    // The third click of a triple click is a plain press: nothing more happens.
    defaults.setBool(true, key);
    ShownWindow shown;
    QWidget *view = shown.window.titleBarView();
    sendMouse(view, QEvent::MouseButtonDblClick, QPointF(300, 10));
    sendMouse(view, QEvent::MouseButtonPress, QPointF(300, 10));
    sendMouse(shown.window.titleBarContainer(), QEvent::MouseButtonRelease, QPointF(300, 10), Qt::NoButton);
    EXPECT_FALSE(shown.window.isMinimized());
    defaults.removeObjectForKey(key);
}

TEST(TitleBarView, TitleStandsLeftOfTheVersionsButtonAndFurtherLeftWhileEdited)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    w.setTitleBarHeight(36);
    w.setShowsTitle(true);
    w.setWindowTitle(QStringLiteral("Kestrune"));
    TBTitlebarView *view = barView(w);
    EXPECT_EQ(w.standardWindowButton(TBWindow::DocumentVersionsButton), nullptr) << "no document, no button";

    TBDocument document;
    document.addWindow(&w);
    const QAbstractButton *versions = w.standardWindowButton(TBWindow::DocumentVersionsButton);
    ASSERT_NE(versions, nullptr);
    EXPECT_EQ(document.windows(), QList<TBWindow *>{&w});
    EXPECT_EQ(versions->y(), 2) << "hung 2 pixels below the top";
    const double clean = view->titleLayout().frame.left();
    const double width = view->titleLayout().frame.width();
    EXPECT_EQ(clean, versions->x() - width - 1);

    // The change count drives the edit status: the window's modified flag, and 20 pixels
    // further left. Undoing the change brings it back, but an autosave is still owed.
    struct Step
    {
        unsigned change;
        bool edited, unautosaved;
        double shift;
    };
    const Step steps[] = {
        {TBDocument::ChangeDone, true, true, -20},
        {TBDocument::ChangeDone | TBDocument::ChangeDiscardable, true, true, -20},
        {TBDocument::ChangeUndone, true, true, -20},
        {TBDocument::ChangeUndone, false, true, -20},
        {TBDocument::ChangeAutosaved, false, false, 0},
        {TBDocument::ChangeRedone, true, true, -20},
        {TBDocument::ChangeCleared, false, false, 0},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(testing::Message() << "change " << step.change);
        document.updateChangeCount(step.change);
        EXPECT_EQ(document.isDocumentEdited(), step.edited);
        EXPECT_EQ(w.isWindowModified(), step.edited);
        EXPECT_EQ(document.hasUnautosavedChanges(), step.unautosaved);
        EXPECT_EQ(view->titleLayout().frame.left(), clean + step.shift);
    }

    // Every change lays the bar out again: a title font set without a layout reaches the
    // versions button and the title field with the next change.
    QFont font = QApplication::font();
    font.setPixelSize(17);
    w.titleFont = font;
    EXPECT_NE(versions->font().pixelSize(), 17);
    document.updateChangeCount(TBDocument::ChangeAutosaved);
    EXPECT_EQ(versions->font().pixelSize(), 17);
    EXPECT_EQ(w.titleField()->font().pixelSize(), 17);
    w.titleFont.reset();

    // The title ends just before the button, or 8 pixels before the window's edit-status
    // separator ("—") when that stands in its way.
    TBTitlebarView::TitleLayout title = view->titleLayout();
    EXPECT_EQ(title.frame.right(), versions->x() - 1);
    const double left = title.frame.left();
    auto *separator = new QLabel(QString(QChar(0x2014)), &w);
    separator->setGeometry(versions->x() - 30, 0, 12, 16);
    title = view->titleLayout();
    EXPECT_EQ(title.frame.left(), left) << "the separator cuts, it does not move";
    EXPECT_EQ(title.frame.right(), separator->x() - 8);

    // Leaving the document takes the button away.
    document.removeWindow(&w);
    EXPECT_EQ(w.standardWindowButton(TBWindow::DocumentVersionsButton), nullptr);
    EXPECT_EQ(w.document(), nullptr);
}
