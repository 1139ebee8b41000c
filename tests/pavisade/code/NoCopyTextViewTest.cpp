#include <pavisade/code/NSTextNoCopyView.h>

#include "support/LogCapture.h"

#include <QtCore/QMimeData>
#include <QtGui/QClipboard>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

namespace {

class ExposedNoCopyView : public NSTextNoCopyView
{
public:
    using NSTextNoCopyView::createMimeDataFromSelection;
};

struct SelectedText
{
    ExposedNoCopyView view;
    SelectedText()
    {
        view.setPlainText("secret value");
        view.resize(300, 100);
        view.show();
        view.selectAll();
        QApplication::clipboard()->setText("before");
    }
};

TEST(NoCopyTextView, CopyAndCutKeysLeaveClipboardAndTextAlone)
{
    SelectedText t;
    TestSupport::LogCapture log;
    QTest::keySequence(&t.view, QKeySequence::Copy);
    QTest::keySequence(&t.view, QKeySequence::Cut);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    EXPECT_EQ(t.view.toPlainText(), "secret value");
    EXPECT_EQ(log.count("copying"), 2);
    // Typing still works: only copying is refused.
    QTest::keyClick(&t.view, Qt::Key_End);
    QTest::keyClicks(&t.view, "!");
    EXPECT_EQ(t.view.toPlainText(), "secret value!");
}

TEST(NoCopyTextView, DataMadeFromTheSelectionIsEmpty)
{
    SelectedText t;
    TestSupport::LogCapture log;
    std::unique_ptr<QMimeData> data(t.view.createMimeDataFromSelection());
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->formats().isEmpty());
    EXPECT_EQ(log.count("copying"), 1);
}

TEST(NoCopyTextView, ADragFromTheSelectionIsNotStartedAndRemovesNothing)
{
    SelectedText t;
    TestSupport::LogCapture log;
    QWidget *viewport = t.view.viewport();
    const QPoint start = t.view.cursorRect(t.view.textCursor()).center() - QPoint(20, 0);
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    for (int dx = 10; dx <= 60; dx += 10) {
        QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(dx, 30)), viewport->mapToGlobal(start),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, start + QPoint(60, 30));
    EXPECT_EQ(t.view.toPlainText(), "secret value");
    EXPECT_EQ(log.count("copying"), 1);
}

} // namespace
