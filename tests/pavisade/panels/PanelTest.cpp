#include <pavisade/PavisadeClasses.h>
#include <pavisade/forms/FormControls.h>
#include <pavisade/panels/XXXPanel.h>
#include <pavisade/panels/XXXProgressIndicatorPanel.h>

#include "support/LogCapture.h"
#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

namespace {

static TestSupport::SetupHook hook([] { Pavisade::registerPavisadeClasses(); });

// A bound object with two properties.
class Profile : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(int autoLogin MEMBER autoLogin)

public:
    QString name;
    int autoLogin = 0;
};

struct PanelFixture
{
    PanelFixture()
    {
        window.resize(600, 400);
        window.show();
        panel.resize(300, 120);
        name = new QLineEdit(&panel);
        name->setObjectName("name");
        check = new QCheckBox(&panel);
        check->setObjectName("autoLogin");
        combo = new QComboBox(&panel);
        combo->setObjectName("scheme");
        combo->addItems({"deraz", "sqlite"});
        for (QWidget *control :
             {static_cast<QWidget *>(name), static_cast<QWidget *>(check), static_cast<QWidget *>(combo)})
            panel.bindControl(control);
    }
    QMainWindow window;
    XXXPanel panel;
    QLineEdit *name = nullptr;
    QCheckBox *check = nullptr;
    QComboBox *combo = nullptr;
};

} // namespace

TEST(XXXPanel, OkAndCancelEndTheSheetWithTheirCodes)
{
    struct Case
    {
        const char *name;
        bool ok;
        bool autoExit;
        qint64 code;
        bool visibleAfter;
    };
    const QList<Case> cases = {
        {"ok", true, true, 1, false},
        {"cancel", false, true, 0, false},
        {"ok, staying up", true, false, 1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PanelFixture f;
        QList<qint64> codes;
        f.panel.beginOnWindow(
            &f.window, [&](qint64 code) { codes.append(code); }, c.autoExit);
        EXPECT_TRUE(waitFor([&] { return f.panel.isVisible(); }));
        EXPECT_EQ(f.panel.windowModality(), Qt::WindowModal);
        if (c.ok)
            f.panel.ok();
        else
            f.panel.cancel();
        EXPECT_EQ(codes, QList<qint64>({c.code}));
        EXPECT_EQ(f.panel.isVisible(), c.visibleAfter);
    }
    // Begun through the two-argument form, the panel always leaves when its sheet ends.
    PanelFixture f;
    f.panel.setAutoExitWindow(false);
    f.panel.beginOnWindow(&f.window, [](qint64) {});
    EXPECT_TRUE(f.panel.autoExitWindow());
}

TEST(XXXPanel, ReturnCodeNamesAndSheetStyle)
{
    EXPECT_EQ(XXXPanelStringForReturnCode(1), "OK");
    EXPECT_EQ(XXXPanelStringForReturnCode(0), "Cancel");
    EXPECT_TRUE(XXXPanelStringForReturnCode(2).isNull());
    EXPECT_EQ(XXXPanelDebugStringForReturnCode(2), "???");
    EXPECT_EQ(XXXPanelStringForReturnCodeWithDefault(7, "seven"), "seven");
    XXXPanel panel(XSheet::Titled | XSheet::Miniaturizable);
    EXPECT_EQ(panel.styleMask(), unsigned(XSheet::Closable));
}

TEST(XXXPanel, EditsGoThroughTransformersIntoTheValueMap)
{
    PanelFixture f;
    EXPECT_EQ(f.panel.bindToObj(), nullptr);
    f.check->click();
    EXPECT_EQ(f.panel.bindDataMap().value("autoLogin"), QVariant(1));
    f.check->click();
    EXPECT_EQ(f.panel.bindDataMap().value("autoLogin"), QVariant(0));

    f.panel.registerTransformer(std::make_shared<Corbelan::ValueTransformer>(
                                    QMetaType::fromType<QString>(),
                                    [](const QVariant &v) { return QVariant(v.toString().toUpper()); },
                                    nullptr),
                                "name");
    f.name->setFocus();
    QTest::keyClicks(f.name, "ab");
    EXPECT_EQ(f.panel.bindDataMap().value("name"), QVariant("AB"));
    f.combo->setCurrentIndex(1);
    emit f.combo->activated(1);
    EXPECT_EQ(f.panel.bindDataMap().value("scheme"), QVariant("sqlite"));

    // A null transformer is stored nowhere.
    f.panel.registerTransformer(nullptr, "scheme");
    EXPECT_FALSE(f.panel.transformerForBindingKeyPath("scheme"));
    EXPECT_TRUE(f.panel.transformerForBindingKeyPath("name"));

    // A control without an identifier is ignored with a log line.
    auto *anonymous = new QLineEdit(&f.panel);
    f.panel.bindControl(anonymous);
    TestSupport::LogCapture log;
    QTest::keyClicks(anonymous, "x");
    EXPECT_EQ(log.count("without an identifier"), 1);
    EXPECT_EQ(f.panel.bindDataMap().size(), 3);
}

TEST(XXXPanel, EditsReachTheBoundObjectAndUnknownKeysAreIgnored)
{
    PanelFixture f;
    Profile profile;
    f.panel.setBindObj(&profile);
    QTest::keyClicks(f.name, "local");
    f.check->click();
    emit f.combo->activated(0); // "scheme" is no property of the profile
    EXPECT_EQ(profile.name, "local");
    EXPECT_EQ(profile.autoLogin, 1);
    EXPECT_TRUE(f.panel.bindDataMap().isEmpty());
    EXPECT_FALSE(profile.property("scheme").isValid());
}

TEST(XXXPanel, ElementsAreFoundByIdentifierAndCached)
{
    PanelFixture f;
    EXPECT_EQ(f.panel.elementByIdentifier("name"), f.name);
    EXPECT_EQ(f.panel.elementByIdentifier("later"), nullptr);
    auto *later = new QLineEdit(&f.panel);
    later->setObjectName("later");
    EXPECT_EQ(f.panel.elementByIdentifier("later"), later);
}

TEST(XXXProgressIndicatorPanel, LayoutTextAndBar)
{
    QMainWindow window;
    window.resize(600, 400);
    window.show();
    XXXProgressIndicatorPanel panel(QSize(300, 80));
    EXPECT_NEAR(panel.commonPadding(), 13.333f, 0.001f);
    // The bar builds the label first.
    QProgressBar *bar = panel.progressBarIndicator();
    EXPECT_EQ(panel.indicatorInfoLabel()->geometry(), QRect(30, 13, 240, 20));
    EXPECT_EQ(bar->geometry(), QRect(30, 47, 240, 20));

    panel.updateIndicatorInfo("Importing");
    panel.updateIndicatorInfo(QString());
    EXPECT_EQ(panel.indicatorInfoLabel()->text(), "Importing");

    QList<qint64> codes;
    for (int run = 0; run < 2; ++run) {
        panel.beginOnWindow(&window, [&](qint64 code) { codes.append(code); });
        EXPECT_TRUE(waitFor([&] { return panel.isVisible(); }));
        EXPECT_FALSE(bar->isHidden());
        EXPECT_EQ(bar->maximum(), 0); // busy
        panel.endPanel();
        EXPECT_FALSE(panel.isVisible());
        EXPECT_TRUE(bar->isHidden());
    }
    EXPECT_EQ(codes, QList<qint64>({XSheetReturnCodeStop, XSheetReturnCodeStop}));
}

// A cancellable panel keeps its rows where they were and adds Cancel under the bar. The
// button, Escape and closing the panel only ask to stop: the sheet runs until its owner
// ends it. Its window takes no input meanwhile, and a close of that window is refused
// and reported rather than lost.
TEST(XXXProgressIndicatorPanel, CancelOnlyAsksAndTheWindowsCloseIsReported)
{
    QMainWindow window;
    auto *elsewhere = new QPushButton("Elsewhere", &window);
    window.setCentralWidget(elsewhere);
    window.resize(600, 400);
    window.show();
    int pressed = 0;
    QObject::connect(elsewhere, &QPushButton::clicked, [&] { ++pressed; });
    XXXProgressIndicatorPanel panel(QSize(300, 80));
    panel.setCancellable(true);
    EXPECT_EQ(panel.indicatorInfoLabel()->geometry(), QRect(30, 13, 240, 20));
    EXPECT_EQ(panel.progressBarIndicator()->geometry(), QRect(30, 47, 240, 20));
    const QRect cancel = panel.cancelButton()->geometry();
    EXPECT_EQ(cancel.right(), 269);
    EXPECT_EQ(cancel.top(), 80);
    EXPECT_EQ(panel.height(), cancel.bottom() + 1 + 13);

    int cancels = 0;
    int closes = 0;
    QObject::connect(&panel, &XXXProgressIndicatorPanel::cancelRequested, [&] { ++cancels; });
    QObject::connect(&panel, &XXXProgressIndicatorPanel::windowCloseRequested, [&] { ++closes; });
    panel.beginOnWindow(&window);
    ASSERT_TRUE(waitFor([&] { return panel.isVisible(); }));
    QTest::mouseClick(panel.cancelButton(), Qt::LeftButton);
    QTest::keyClick(&panel, Qt::Key_Escape);
    panel.close();
    EXPECT_EQ(cancels, 3);
    EXPECT_TRUE(panel.isSheetRunning());
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    EXPECT_EQ(pressed, 0);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(closes, 1);

    panel.endPanel();
    EXPECT_FALSE(panel.isVisible());
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    EXPECT_EQ(pressed, 1);
    EXPECT_TRUE(window.close());
}

#include "PanelTest.moc"
