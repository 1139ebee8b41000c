#include "FieldTestHelpers.h"

#include <kestrune/chrome/controls/TKNTokenAttachmentCell.h>
#include <kestrune/chrome/controls/TKNTokenField.h>
#include <kestrune/chrome/controls/TKNTokenFieldCell.h>
#include <kestrune/chrome/controls/TKNTokenTextStorage.h>

#include <QtGui/QClipboard>
#include <QtGui/QTextBlock>
#include <QtGui/QTextCursor>
#include <QtWidgets/QApplication>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

#include <memory>

using namespace FieldTest;
using namespace Kestrune;

namespace {

// The attachments of a document's tokens, in order.
QList<TokenAttachmentPointer> attachmentsOf(QTextDocument *document)
{
    QList<TokenAttachmentPointer> attachments;
    for (int i = 0; i < document->characterCount(); ++i) {
        if (document->characterAt(i) != QChar::ObjectReplacementCharacter)
            continue;
        QTextCursor cursor(document);
        cursor.setPosition(i + 1);
        if (auto attachment = tokenAttachment(cursor.charFormat()))
            attachments << attachment;
    }
    return attachments;
}

// A token field in a shown window whose delegate gives each object a bubble cell and
// records the objects it was asked about.
struct TokenFixture
{
    TokenFixture()
    {
        field = new TKNTokenField;
        field->setDelegate([this](TKNTokenField *, const QVariant &object) {
            asked << object;
            auto cell = std::make_shared<TKNTokenAttachmentCell>(object.toString());
            cells << cell;
            return cell;
        });
        other = new QPushButton(QStringLiteral("Other"));
        w.layout->addWidget(field);
        w.layout->addWidget(other);
        w.show();
        field->setFocus();
    }
    // Clicks the middle of the character at index.
    void clickCharacter(int index)
    {
        QTextCursor cursor(field->document());
        cursor.setPosition(index);
        const QRect left = field->cursorRect(cursor);
        cursor.setPosition(index + 1);
        const QRect right = field->cursorRect(cursor);
        QTest::mouseClick(field->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint((left.left() + right.left()) / 2, left.center().y()));
    }

    TestWindow w;
    TKNTokenField *field = nullptr;
    QPushButton *other = nullptr;
    QVariantList asked;
    QList<std::shared_ptr<TKNTokenAttachmentCell>> cells;
};

QVariantList strings(std::initializer_list<const char *> texts)
{
    QVariantList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}

} // namespace

TEST(TokenFieldTest, TypedEntriesBecomeTokensHandledOnceAndAClickSelectsOne)
{
    TokenFixture f;
    QTest::keyClicks(f.field, QStringLiteral("a, b, c"));
    QTest::keyClick(f.field, Qt::Key_Return);

    EXPECT_EQ(f.field->toPlainText(), QString(3, QChar::ObjectReplacementCharacter));
    EXPECT_EQ(f.field->objectValue(), strings({"a", "b", "c"}));
    EXPECT_EQ(f.asked, strings({"a", "b", "c"})) << "the delegate is asked once for each token, as it comes";

    // Reading the value again asks nobody again; each token draws with its bubble cell
    // in the field's font.
    const QList<TokenRun> runs = f.field->attributedStringValue();
    (void)f.field->attributedStringValue();
    EXPECT_EQ(f.asked.size(), 3);
    ASSERT_EQ(runs.size(), 3);
    const QList<TokenAttachmentPointer> attachments = attachmentsOf(f.field->document());
    ASSERT_EQ(attachments.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(runs[i], (TokenRun{f.asked[i].toString(), f.asked[i]}));
        EXPECT_EQ(attachments[i]->cell, f.cells[i]);
        EXPECT_EQ(attachments[i]->cell->font(), f.field->font());
    }

    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        f.clickCharacter(i);
        EXPECT_EQ(f.field->textCursor().selectionStart(), i);
        EXPECT_EQ(f.field->textCursor().selectionEnd(), i + 1);
    }
}

TEST(TokenFieldTest, NothingTypedIsLost)
{
    TokenFixture f;
    // Text after the insertion point stays typed text when "," is typed before it.
    QTest::keyClicks(f.field, QStringLiteral("keyspace"));
    QTest::keyClick(f.field, Qt::Key_Left);
    QTest::keyClick(f.field, Qt::Key_Left);
    QTest::keyClicks(f.field, QStringLiteral(","));
    EXPECT_EQ(f.field->objectValue(), strings({"keyspa", "ce"}));
    EXPECT_EQ(f.field->toPlainText(), QString(QChar::ObjectReplacementCharacter) + QStringLiteral("ce"));

    // Typing right after a token is plain text, and leaving the field makes it a token.
    QTest::keyClick(f.field, Qt::Key_End);
    QTest::keyClicks(f.field, QStringLiteral(" x "));
    EXPECT_EQ(f.field->objectValue(), strings({"keyspa", "ce x"}));
    f.other->setFocus();
    EXPECT_EQ(f.field->objectValue(), strings({"keyspa", "ce x"}));
    EXPECT_EQ(f.field->toPlainText(), QString(2, QChar::ObjectReplacementCharacter));
    EXPECT_EQ(f.asked, strings({"keyspa", "ce x"}));

    // Pasted lines and entries become tokens; copying tokens gives their titles back.
    f.field->setFocus();
    QTest::keyClick(f.field, Qt::Key_End);
    QApplication::clipboard()->setText(QStringLiteral("p, q\nr"));
    f.field->paste();
    EXPECT_EQ(f.field->objectValue(), strings({"keyspa", "ce x", "p", "q", "r"}));
    f.field->selectAll();
    f.field->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("keyspa, ce x, p, q, r"));
}

TEST(TokenFieldTest, ValueInAndOutAsRuns)
{
    struct Case
    {
        const char *name;
        QList<TokenRun> runs;
        QVariantList objects;
    };
    const Case cases[] = {
        {"empty", {}, {}},
        {"typed text yields every entry in it",
         {{QStringLiteral(" x , y,z "), {}}},
         strings({"x", "y", "z"})},
        {"tokens keep their objects, in order",
         {{QStringLiteral("42"), 42}, {QStringLiteral("a,"), {}}, {QStringLiteral("t"), QStringLiteral("T")}},
         {42, QStringLiteral("a"), QStringLiteral("T")}},
        {"only separators and spaces", {{QStringLiteral(" , ,"), {}}}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TKNTokenField field;
        field.setAttributedStringValue(c.runs);
        EXPECT_EQ(field.objectValue(), c.objects);
        QList<TokenRun> expected;
        for (const QVariant &object : c.objects)
            expected.append({tokenTitleForObject(object), object});
        EXPECT_EQ(field.attributedStringValue(), expected);
    }
}

TEST(TokenFieldTest, WithoutADelegateCellTokensKeepTheDefaultCellButAreHandled)
{
    struct Case
    {
        const char *name;
        bool delegateSet;
    };
    for (const Case c : {Case{"no delegate", false}, Case{"a delegate answering nothing", true}}) {
        SCOPED_TRACE(c.name);
        TKNTokenField field;
        int asked = 0;
        if (c.delegateSet)
            field.setDelegate([&asked](TKNTokenField *, const QVariant &) {
                ++asked;
                return std::shared_ptr<TokenAttachmentCell>();
            });
        field.setObjectValue(strings({"one", "two"}));
        const QList<TokenAttachmentPointer> attachments = attachmentsOf(field.document());
        ASSERT_EQ(attachments.size(), 2);
        for (const auto &attachment : attachments) {
            EXPECT_EQ(attachment->cell, nullptr);
            ASSERT_TRUE(attachment->representedObject.has_value());
            EXPECT_EQ(*attachment->representedObject, attachment->object);
        }
        EXPECT_EQ(asked, c.delegateSet ? 2 : 0);
        (void)field.attributedStringValue();
        EXPECT_EQ(asked, c.delegateSet ? 2 : 0);
        EXPECT_FALSE(field.grab().isNull());
    }
}

TEST(TokenFieldTest, StorageReportsEachTokenThatEntersAndToleratesAVanishedDelegate)
{
    struct Recorder : QObject, TKNTokenTextStorageDelegate
    {
        QList<int> positions;
        void tokenTextStorage(TKNTokenTextStorage *, const TokenAttachmentPointer &, int position,
                              int length) override
        {
            EXPECT_EQ(length, 1);
            positions << position;
        }
    };
    QTextDocument document;
    auto *storage = new TKNTokenTextStorage(&document);
    EXPECT_EQ(TKNTokenTextStorage::storageOfDocument(&document), storage);
    auto recorder = std::make_unique<Recorder>();
    storage->setDelegate(recorder.get());

    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("ab"));
    cursor.beginEditBlock();
    for (int i = 0; i < 2; ++i)
        cursor.insertText(QString(QChar::ObjectReplacementCharacter),
                          tokenCharFormat(std::make_shared<TokenAttachment>()));
    cursor.insertText(QStringLiteral("c"), QTextCharFormat());
    cursor.endEditBlock();
    EXPECT_EQ(recorder->positions, (QList<int>{2, 3}));

    // Restyling text around a token reports it again (a handled token stops there).
    QTextCursor all(&document);
    all.select(QTextCursor::Document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    all.mergeCharFormat(bold);
    EXPECT_EQ(recorder->positions, (QList<int>{2, 3, 2, 3}));

    recorder.reset();
    cursor.insertText(QString(QChar::ObjectReplacementCharacter),
                      tokenCharFormat(std::make_shared<TokenAttachment>()));
    EXPECT_EQ(document.characterCount(), 7) << "edits go on with nobody told";
}

TEST(TokenFieldTest, BubbleGeometry)
{
    EXPECT_EQ(TKNTokenAttachmentCell::cellSizeForTitleSize(QSizeF(40, 17)), QSizeF(79, 17));
    EXPECT_EQ(TKNTokenAttachmentCell::cellSizeForTitleSize(QSizeF(40.2, 16.5)), QSizeF(79, 17))
        << "rounded up";

    // The title is 17 + 22 = 39 narrower than the frame, centred; a narrow frame is first
    // widened to its height + 22.
    EXPECT_EQ(TKNTokenAttachmentCell::titleRectForBounds(QRectF(10, 5, 79, 17)), QRectF(29.5, 5, 40, 17));
    EXPECT_EQ(TKNTokenAttachmentCell::titleRectForBounds(QRectF(0, 0, 10, 17)), QRectF(19.5, 0, 0, 17));

    struct Case
    {
        QRectF bounds;
        unsigned join;
        QRectF outline;
    };
    const Case cases[] = {
        {QRectF(0, 0, 79, 17), 0, QRectF(3, 0, 73, 17)},
        {QRectF(0, 0, 79, 17), TKNTokenAttachmentCell::JoinsLeft, QRectF(0, 0, 76, 17)},
        {QRectF(0, 0, 79, 17), TKNTokenAttachmentCell::JoinsRight, QRectF(3, 0, 76, 17)},
        {QRectF(0, 0, 79, 17), TKNTokenAttachmentCell::JoinsLeft | TKNTokenAttachmentCell::JoinsRight,
         QRectF(0, 0, 79, 17)},
        // Narrower than height + 6: the outline is h + 6 wide and the half circles meet.
        {QRectF(0, 0, 10, 17), 0, QRectF(3, 0, 17, 17)},
        {QRectF(0, 0, 10, 17), TKNTokenAttachmentCell::JoinsRight, QRectF(3, 0, 20, 17)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.bounds.width() << ", join " << c.join);
        const QPainterPath path = TKNTokenAttachmentCell::tokenPathForBounds(c.bounds, c.join);
        const QRectF outline = path.boundingRect();
        EXPECT_NEAR(outline.left(), c.outline.left(), 0.01);
        EXPECT_NEAR(outline.right(), c.outline.right(), 0.01);
        EXPECT_NEAR(outline.top(), c.outline.top(), 0.01);
        EXPECT_NEAR(outline.bottom(), c.outline.bottom(), 0.01);
        EXPECT_EQ(path.currentPosition(), QPointF(path.elementAt(0))) << "closed";
        // A round end passes through the middle of its side; a square one through its corner.
        const qreal middle = c.bounds.center().y();
        EXPECT_EQ(path.contains(QPointF(c.outline.left() + 0.5, middle)), true);
        EXPECT_EQ(path.contains(QPointF(c.outline.left() + 0.5, 0.5)), bool(c.join & 1));
    }
}

TEST(TokenFieldTest, SelectionJoinsTokensAndColoursFollowTheWindow)
{
    struct Case
    {
        bool main;
        unsigned mode;
    };
    for (const Case c :
         {Case{true, TKNTokenAttachmentCell::Selected}, Case{false, TKNTokenAttachmentCell::Default}}) {
        SCOPED_TRACE(c.main);
        TokenFixture f;
        f.w.setMain(c.main);
        f.field->setObjectValue(strings({"first", "middle", "last", "apart"}));
        QTextCursor cursor(f.field->document());
        cursor.setPosition(0);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        f.field->setTextCursor(cursor);
        (void)f.field->grab();
        ASSERT_EQ(f.cells.size(), 4);
        const unsigned joins[] = {TKNTokenAttachmentCell::JoinsRight,
                                  TKNTokenAttachmentCell::JoinsLeft | TKNTokenAttachmentCell::JoinsRight,
                                  TKNTokenAttachmentCell::JoinsLeft, 0};
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(f.cells[i]->tokenJoinStyle(), joins[i]);
            EXPECT_EQ(f.cells[i]->tokenDrawingMode(),
                      i < 3 ? c.mode : unsigned(TKNTokenAttachmentCell::Default));
        }
    }

    // A token held down and not selected draws highlighted in a main window.
    TokenFixture f;
    f.field->setObjectValue(strings({"held"}));
    QTextCursor cursor(f.field->document());
    cursor.movePosition(QTextCursor::End);
    f.field->setTextCursor(cursor);
    ASSERT_EQ(f.cells.size(), 1);
    f.cells[0]->setHighlighted(true);
    (void)f.field->grab();
    EXPECT_EQ(f.cells[0]->tokenDrawingMode(), unsigned(TKNTokenAttachmentCell::Highlighted));
    const QColor fill =
        TKNTokenAttachmentCell::tokenFillColorForDrawingMode(TKNTokenAttachmentCell::Highlighted);
    EXPECT_EQ(fill, QColor::fromRgbF(0.733f, 0.8078f, 0.9451f));
}
