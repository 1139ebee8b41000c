#include <kestrune/AppNotifications.h>
#include <kestrune/Localized.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/shell/PreferenceWindowController.h>
#include <kestrune/shell/Startup.h>

#include <bastwick/platform/NotificationCenter.h>

#include "kestrune/ShellTestHelpers.h"
#include "support/WaitFor.h"

#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QSpinBox>
#include <gtest/gtest.h>

namespace {

using namespace ShellTest;

struct Preferences : ::testing::Test
{
    void SetUp() override
    {
        Kestrune::registerAllClasses();
        preference->setPageSize(100);
        preference->setMagicNumbers(500);
        Bastwick::NotificationCenter::defaultCenter().addObserver(
            &context, kDBDataPageSizeChangedMsg,
            [this](const auto &) { pageSizes.append(preference->pageSize()); });
        controller.showWindow();
    }
    // Replaces the field's text by typing it, one key at a time.
    static void type(QSpinBox *field, const QString &text)
    {
        auto *edit = field->findChild<QLineEdit *>();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    AppPreference *preference = AppPreference::sharedPreference();
    QObject context;
    QList<int> pageSizes;
    PreferenceWindowController controller;
};

TEST_F(Preferences, TypedAndSteppedNumbersAreStoredAtOnceAndNeverBelowOne)
{
    EXPECT_EQ(controller.pageSizeStepper()->value(), 100);
    EXPECT_EQ(controller.magicNumSizeStepper()->value(), 500);

    type(controller.pageSizeStepper(), QStringLiteral("250"));
    EXPECT_EQ(pageSizes, (QList<int>{2, 25, 250})) << "one stored value and one notice per keystroke";
    EXPECT_EQ(preference->pageSize(), 250);

    // An emptied field or a zero never reaches the paging.
    type(controller.pageSizeStepper(), QStringLiteral("0"));
    EXPECT_GE(preference->pageSize(), 1);
    type(controller.magicNumSizeStepper(), QString());
    EXPECT_GE(preference->magicNumbers(), 1);

    controller.magicNumSizeStepper()->setValue(40);
    controller.magicNumSizeStepper()->stepUp();
    EXPECT_EQ(preference->magicNumbers(), 41);
    const qsizetype notices = pageSizes.size();
    controller.magicNumSizeStepper()->stepUp();
    EXPECT_EQ(pageSizes.size(), notices) << "the sample count posts nothing";
}

TEST_F(Preferences, FlagsAreStoredAndReopeningShowsTheSameWindow)
{
    // Each check box stores its new state at once.
    const struct
    {
        QCheckBox *box;
        bool (AppPreference::*stored)() const;
    } flags[] = {{controller.remberPassCheckBtn(), &AppPreference::allowRemberPassword},
                 {controller.autoLoginCheckBtn(), &AppPreference::allowAutoLogin}};
    for (const auto &flag : flags) {
        SCOPED_TRACE(qPrintable(flag.box->objectName()));
        for (int click = 0; click < 2; ++click) {
            const bool before = flag.box->isChecked();
            flag.box->click();
            EXPECT_EQ((preference->*flag.stored)(), !before);
        }
    }

    QWidget *window = controller.window();
    controller.pageSizeStepper()->setValue(33);
    window->close();
    preference->setPageSize(77); // not read back while the window lives
    controller.showWindow();
    EXPECT_EQ(controller.window(), window);
    EXPECT_EQ(controller.pageSizeStepper()->value(), 33);
}

TEST(AlertSheets, AConfirmationRunsExactlyOneHandler)
{
    QWidget window;
    window.show();
    struct
    {
        QMessageBox::ButtonRole pressed;
        QList<qint64> okCalls;
        int cancelCalls;
    } cases[] = {{QMessageBox::AcceptRole, {0}, 0}, {QMessageBox::RejectRole, {}, 1}};
    for (const auto &c : cases) {
        QList<qint64> okCalls;
        int cancelCalls = 0;
        Kestrune::confirmWarning(
            &window, QStringLiteral("Really?"), [&](qint64 index) { okCalls.append(index); },
            [&] { ++cancelCalls; });
        ASSERT_EQ(openAlerts().size(), 1);
        EXPECT_EQ(openAlerts().first()->windowModality(), Qt::WindowModal);
        press(openAlerts().first(), c.pressed);
        QApplication::processEvents();
        EXPECT_EQ(okCalls, c.okCalls);
        EXPECT_EQ(cancelCalls, c.cancelCalls);
        EXPECT_TRUE(openAlerts().isEmpty());
    }

    // A warning without a window is still shown, by itself.
    Kestrune::showWarning(nullptr, QStringLiteral("Alone"));
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(), "Alone");
    closeAlerts();
}

} // namespace
