#include "FieldTestHelpers.h"

#include <kestrune/chrome/controls/KSTTaskTextField.h>
#include <kestrune/chrome/controls/StyledFieldCell.h>

#include <QtGui/QMouseEvent>
#include <QtGui/QTextDocumentFragment>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

using namespace FieldTest;

namespace {

// A task field with "Call <link> now", shown in a window with a second widget to take
// the focus.
struct TaskFixture
{
    explicit TaskFixture(const QString &href = QStringLiteral("https://example.com/tasks/7"))
    {
        field = new KSTTaskTextField;
        field->setFixedSize(360, 30);
        field->setAttributedStringValue(QTextDocumentFragment::fromHtml(
            QStringLiteral("Call <a href=\"%1\">the vendor</a> now").arg(href.toHtmlEscaped())));
        other = new QPushButton(QStringLiteral("Other"));
        w.layout->addWidget(field);
        w.layout->addWidget(other);
        w.show();
        other->setFocus();
    }
    QPointF linkCentre() const { return field->linkRects().value(0).center(); }

    TestWindow w;
    KSTTaskTextField *field = nullptr;
    QPushButton *other = nullptr;
};

} // namespace

TEST(TaskTextFieldTest, SingleClickOpensOnlyAValidLinkUnderThePointer)
{
    struct Case
    {
        const char *name;
        QString href;
        std::function<QPointF(const TaskFixture &)> where;
        bool opens;
    };
    const QString good = QStringLiteral("https://example.com/tasks/7");
    const Case cases[] = {
        {"on the link", good, [](const TaskFixture &f) { return f.linkCentre(); }, true},
        {"on the link, at the field's top edge (any height tests the middle line)", good,
         [](const TaskFixture &f) { return QPointF(f.linkCentre().x(), 1); }, true},
        {"on plain text", good,
         [](const TaskFixture &f) { return QPointF(f.field->linkRects()[0].left() - 12, 15); }, false},
        {"right of the end of the text", good,
         [](const TaskFixture &f) { return QPointF(f.field->width() - 10, 15); }, false},
        {"a link that is no URL", QStringLiteral("https://exa mple.com/%zz"),
         [](const TaskFixture &f) { return f.linkCentre(); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        UrlCatcher catcher(QStringLiteral("https"));
        TaskFixture f(c.href);
        ASSERT_EQ(f.field->linkRects().size(), 1);
        QTest::mouseClick(f.field, Qt::LeftButton, Qt::NoModifier, c.where(f).toPoint());
        EXPECT_EQ(catcher.opened, c.opens ? QList<QUrl>{QUrl(good)} : QList<QUrl>{});
        EXPECT_FALSE(f.field->isEditing()) << "a single click never edits";
    }
}

TEST(TaskTextFieldTest, LinkTextEndsWhereTheTextDoes)
{
    // A link at the very end: the nearest character to a click beyond it is the link.
    TaskFixture f;
    f.field->setAttributedStringValue(
        QTextDocumentFragment::fromHtml(QStringLiteral("Open <a href=\"https://example.com/x\">x</a>")));
    UrlCatcher catcher(QStringLiteral("https"));
    const QRectF link = f.field->linkRects().value(0);
    QTest::mouseClick(f.field, Qt::LeftButton, Qt::NoModifier, QPoint(int(link.right()) + 6, 15));
    EXPECT_TRUE(catcher.opened.isEmpty());
    QTest::mouseClick(f.field, Qt::LeftButton, Qt::NoModifier, link.center().toPoint());
    EXPECT_EQ(catcher.opened.size(), 1);
}

TEST(TaskTextFieldTest, DoubleClickEditsTheDelegatesTextAndEndingKeepsWhatWasTyped)
{
    UrlCatcher catcher(QStringLiteral("https"));
    TaskFixture f;
    int asked = 0;
    f.field->setEditingTextDelegate([&asked](KSTTaskTextField *) {
        ++asked;
        return QStringLiteral("Call the vendor now #work");
    });
    int finished = 0;
    QObject::connect(f.field, &KSTTaskTextField::editingFinished, [&finished] { ++finished; });

    // A double click arrives as a click and then the double click: on the link, its
    // first click has opened the link already.
    QTest::mouseClick(f.field, Qt::LeftButton, Qt::NoModifier, f.linkCentre().toPoint());
    QTest::mouseDClick(f.field, Qt::LeftButton, Qt::NoModifier, f.linkCentre().toPoint());
    EXPECT_EQ(catcher.opened.size(), 1);
    ASSERT_TRUE(f.field->isEditing());
    EXPECT_EQ(asked, 1);
    QLineEdit *editor = f.field->fieldEditor();
    EXPECT_EQ(editor->text(), QStringLiteral("Call the vendor now #work"));
    EXPECT_TRUE(f.field->isEditable());
    EXPECT_FALSE(editor->isReadOnly());
    EXPECT_EQ(f.w.window.focusWidget(), editor);
    EXPECT_EQ(editor->cursorPosition(), editor->text().size()) << "scrolled to the end";

    QTest::keyClicks(editor, QStringLiteral(" today"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(f.field->isEditing());
    EXPECT_EQ(f.field->stringValue(), QStringLiteral("Call the vendor now #work today"));
    EXPECT_FALSE(f.field->isEditable());
    EXPECT_EQ(finished, 1);

    // Again, and this time the focus moves away: the typed text is kept all the same.
    QTest::mouseDClick(f.field, Qt::LeftButton, Qt::NoModifier, QPoint(f.field->width() - 10, 15));
    ASSERT_TRUE(f.field->isEditing());
    QTest::keyClicks(f.field->fieldEditor(), QStringLiteral("!"));
    f.other->setFocus();
    EXPECT_FALSE(f.field->isEditing());
    EXPECT_EQ(f.field->stringValue(), QStringLiteral("Call the vendor now #work!"));
    EXPECT_EQ(finished, 2);
}

TEST(TaskTextFieldTest, WithoutADelegateEditingKeepsTextLinksAndEditability)
{
    TaskFixture f;
    ASSERT_FALSE(f.field->isEditable());
    f.field->beginEditing();
    ASSERT_TRUE(f.field->isEditing());
    QLineEdit *editor = f.field->fieldEditor();
    EXPECT_EQ(f.w.window.focusWidget(), editor) << "still made the focus";
    EXPECT_EQ(editor->text(), QStringLiteral("Call the vendor now"));
    EXPECT_TRUE(editor->isReadOnly());
    EXPECT_EQ(editor->cursorPosition(), editor->text().size());
    QTest::keyClicks(editor, QStringLiteral("xyz"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(f.field->isEditing());
    EXPECT_EQ(f.field->stringValue(), QStringLiteral("Call the vendor now"));
    EXPECT_EQ(f.field->linkRects().size(), 1) << "an untouched text keeps its link";

    // An editable field without a delegate edits its own text.
    f.field->setEditable(true);
    f.field->beginEditing();
    QTest::keyClicks(f.field->fieldEditor(), QStringLiteral(" today"));
    QTest::keyClick(f.field->fieldEditor(), Qt::Key_Return);
    EXPECT_EQ(f.field->stringValue(), QStringLiteral("Call the vendor now today"));
    EXPECT_FALSE(f.field->isEditable());
}

TEST(TaskTextFieldTest, PointerIsAHandOverLinksAndFollowsTheText)
{
    TaskFixture f;
    const auto cursorAt = [&](const QPointF &point) {
        QMouseEvent move(QEvent::MouseMove, point, f.field->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(f.field, &move);
        return f.field->cursor().shape();
    };
    const QPointF link = f.linkCentre();
    EXPECT_EQ(cursorAt(link), Qt::PointingHandCursor);
    EXPECT_EQ(cursorAt(QPointF(5, link.y())), Qt::ArrowCursor);

    f.field->setAttributedStringValue(QTextDocumentFragment::fromHtml(QStringLiteral(
        "<a href=\"https://a.example\">A</a> and <a href=\"https://b.example\">B</a> and more text")));
    const QList<QRectF> rects = f.field->linkRects();
    ASSERT_EQ(rects.size(), 2);
    EXPECT_LT(rects[0].right(), rects[1].left());
    EXPECT_EQ(cursorAt(rects[1].center()), Qt::PointingHandCursor);
    EXPECT_EQ(cursorAt(link), Qt::ArrowCursor) << "the old link run no longer counts";
}
