#include "FieldTestHelpers.h"

#include <kestrune/chrome/ChromeClasses.h>
#include <kestrune/chrome/ChromeFonts.h>
#include <kestrune/chrome/Palette.h>
#include <kestrune/chrome/controls/KSTAddListTextFieldCell.h>
#include <kestrune/chrome/controls/KSTSecureTextField.h>
#include <kestrune/chrome/controls/KSTSecureTextFieldCell.h>
#include <kestrune/chrome/controls/KSTTagTextFieldCell.h>
#include <kestrune/chrome/controls/KSTTaskTextField.h>
#include <kestrune/chrome/controls/KSTTaskTextFieldCell.h>
#include <kestrune/chrome/controls/KSTTextField.h>
#include <kestrune/chrome/controls/KSTTextFieldCell.h>

#include <bastwick/platform/ClassRegistry.h>

#include "support/PaintCounter.h"

#include <QtGui/QFontInfo>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

using namespace FieldTest;
using namespace Kestrune;

TEST(StyledTextFieldTest, TextRectIsCentredByTheFontsLineWithTheCellsSideMargin)
{
    KSTTextFieldCell rounded;
    KSTTaskTextFieldCell task;
    task.setFont(rounded.font());
    const QFontMetricsF metrics(rounded.font());
    const qreal line = metrics.ascent() + metrics.descent();
    // The 14-pixel face has a line of about 17 pixels, as the design's example assumes.
    ASSERT_NEAR(line, 17.0, 1.0);

    struct Case
    {
        const StyledFieldCell *cell;
        qreal height;
        qreal side;
    };
    const Case cases[] = {
        {&rounded, 30, 12}, {&rounded, 60, 12}, {&task, 30, 0}, {&rounded, 10, 12}, {&task, 10, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "height " << c.height << ", side " << c.side);
        const QRectF frame(20, 40, 200, c.height);
        const QRectF text = c.cell->adjustedFrameToVerticallyCenterText(frame);
        const qreal inset = text.top() - frame.top();
        EXPECT_EQ(inset, std::floor(inset)) << "a whole number of pixels";
        EXPECT_EQ(frame.bottom() - text.bottom(), inset) << "the same at the bottom";
        EXPECT_NEAR(text.center().y(), frame.center().y(), 0.01);
        EXPECT_LE(std::abs(text.height() - line), 2.0) << "one line high, give or take the rounding";
        EXPECT_EQ(text.left() - frame.left(), c.side);
        EXPECT_EQ(frame.right() - text.right(), c.side);
        if (c.height < line) {
            EXPECT_GT(text.height(), frame.height()) << "a low frame gives a taller text rectangle";
        }
    }
    EXPECT_EQ(rounded.adjustedFrameToVerticallyCenterText(QRectF(0, 0, 200, 30)),
              QRectF(12, 6, 176, 18)); // the design's example: 6 above and below, 12 at the sides
}

TEST(StyledTextFieldTest, CellsApplyTheirStyling)
{
    struct Case
    {
        std::function<StyledFieldCell *()> make;
        int pixelSize;
        QColor text;
        bool drawsBackground;
        bool bezeled;
    };
    const QColor darkGrey = QColor::fromRgbF(0.2f, 0.2f, 0.2f);
    const Case cases[] = {
        {[] { return new KSTTextFieldCell; }, 14, darkGrey, false, false},
        {[] { return new KSTSecureTextFieldCell; }, 14, darkGrey, false, false},
        {[] { return new KSTTagTextFieldCell; }, 15, Qt::white, true, true},
        {[] { return new KSTAddListTextFieldCell; }, 14, zodevarTextColor().toQColor(), false, false},
    };
    for (const Case &c : cases) {
        KSTTextField field;
        StyledFieldCell *cell = c.make();
        SCOPED_TRACE(cell->metaObject()->className());
        field.setCell(cell);
        EXPECT_EQ(field.font().pixelSize(), c.pixelSize);
        EXPECT_EQ(QFontInfo(field.font()).family(),
                  installedFamilyForFace(QString::fromLatin1(kKSTRegularFontName)));
        EXPECT_EQ(field.palette().color(QPalette::Text).rgb(), c.text.rgb());
        EXPECT_EQ(cell->drawsBackground(), c.drawsBackground);
        EXPECT_EQ(field.hasFrame(), c.bezeled) << "the platform frame shows only for a bezeled cell";
        EXPECT_FALSE(field.isReadOnly());
    }
}

TEST(StyledTextFieldTest, RoundedPlaceholderIsSteelGreyWhateverItWasGivenAs)
{
    KSTTextField field;
    field.setCell(new KSTTextFieldCell);
    field.resize(220, 30);
    field.setPlaceholderString(QStringLiteral("Search keys"));
    EXPECT_EQ(field.placeholderText(), QStringLiteral("Search keys"));
    EXPECT_EQ(field.palette().color(QPalette::PlaceholderText), zodevarSteelColor().toQColor());

    // The placeholder's ink is steel grey, inside the box and in the text rectangle.
    const QImage image = shot(field);
    const QRect text =
        field.cell()->adjustedFrameToVerticallyCenterText(QRectF(field.rect())).toAlignedRect();
    int steelInk = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 8; x < image.width() - 8; ++x) {
            const QRgb p = image.pixel(x, y);
            if (qGray(p) < 200 && isSteelish(p) && text.contains(x, y) && x >= 12)
                ++steelInk;
        }
    }
    EXPECT_GT(steelInk, 20);

    // A plain cell keeps the platform's placeholder colour.
    KSTTextField plain;
    plain.setPlaceholderString(QStringLiteral("Search keys"));
    EXPECT_NE(plain.palette().color(QPalette::PlaceholderText), zodevarSteelColor().toQColor());
}

TEST(StyledTextFieldTest, RoundedTextIsDrawnInTheTextRectangle)
{
    KSTTextField field;
    field.setCell(new KSTTextFieldCell);
    field.resize(220, 40);
    field.setText(QStringLiteral("HHHHHH"));
    const QImage image = shot(field);
    const QRectF text = field.cell()->adjustedFrameToVerticallyCenterText(QRectF(field.rect()));
    int first = -1, last = -1, left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 200 || qGray(p) > 110)
                continue;
            first = first < 0 ? y : first;
            last = y;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    ASSERT_GE(first, 0);
    EXPECT_GE(first, text.top());
    EXPECT_LE(last, text.bottom());
    // Capitals sit a little above the middle of their line.
    EXPECT_NEAR((first + last) / 2.0, text.center().y(), 3.0);
    EXPECT_NEAR(left, text.left(), 2.5) << "starts at the 12-pixel margin";
}

TEST(StyledTextFieldTest, RoundedFieldIsOrangeWhileFocusedInTheMainWindowAndSteelAfterDeactivation)
{
    TestWindow w;
    auto *field = new KSTTextField;
    field->setCell(new KSTTextFieldCell);
    field->setFixedSize(220, 34);
    auto *other = new QPushButton(QStringLiteral("Other"));
    w.layout->addWidget(field);
    w.layout->addWidget(other);
    w.show();

    const auto outline = [&] { return shot(*field).pixel(4, 17); }; // the visible pixel of the outline
    const auto glow = [&] { return shot(*field).pixel(3, 17); };    // outside the box
    // The glow: orange over whatever lies under the field.
    const auto glowing = [](QRgb p) { return qAlpha(p) > 20 && qRed(p) > qBlue(p) + 25; };

    other->setFocus();
    EXPECT_TRUE(isSteelish(outline())) << std::hex << outline();
    EXPECT_FALSE(field->showsFirstResponder());

    field->setFocus();
    ASSERT_EQ(w.window.focusWidget(), field);
    EXPECT_TRUE(field->showsFirstResponder());
    EXPECT_TRUE(isOrangeish(outline())) << std::hex << outline();
    EXPECT_TRUE(glowing(glow())) << std::hex << glow();

    // The window stops drawing as main: the field is redrawn, steel grey and without glow.
    PaintCounter counter;
    field->installEventFilter(&counter);
    QApplication::processEvents();
    counter.paints = 0;
    w.setMain(false);
    EXPECT_TRUE(waitFor([&] { return counter.paints > 0; })) << "the field redraws when its window changes";
    EXPECT_FALSE(field->showsFirstResponder());
    EXPECT_EQ(w.window.focusWidget(), field) << "it keeps the focus of its window";
    EXPECT_TRUE(isSteelish(outline())) << std::hex << outline();
    EXPECT_FALSE(glowing(glow())) << std::hex << glow();

    counter.paints = 0;
    w.setMain(true);
    EXPECT_TRUE(waitFor([&] { return counter.paints > 0; }));
    EXPECT_TRUE(isOrangeish(outline()));
    field->removeEventFilter(&counter);
}

TEST(StyledTextFieldTest, SecureFieldKeepsEverySettingWhenGivenAnotherCell)
{
    KSTSecureTextField field;
    EXPECT_TRUE(qobject_cast<KSTSecureTextFieldCell *>(field.cell()));
    EXPECT_EQ(field.echoMode(), QLineEdit::Password);

    field.setText(QStringLiteral("s3cret"));
    field.setAlignment(Qt::AlignCenter);
    int returns = 0;
    QObject::connect(&field, &QLineEdit::returnPressed, [&returns] { ++returns; });

    auto *given = new KSTTagTextFieldCell;
    given->setPlaceholderString(QStringLiteral("Password"));
    given->setEditable(false);
    QPointer<StyledFieldCell> givenGuard(given);
    field.setCell(given);

    auto *cell = qobject_cast<KSTSecureTextFieldCell *>(field.cell());
    ASSERT_TRUE(cell) << "a secure field always carries the secure cell";
    EXPECT_TRUE(givenGuard.isNull()) << "the given cell is not kept alongside";
    EXPECT_EQ(cell->placeholderString(), QStringLiteral("Password"));
    EXPECT_EQ(field.placeholderText(), QStringLiteral("Password"));
    EXPECT_EQ(field.palette().color(QPalette::PlaceholderText), zodevarSteelColor().toQColor());
    EXPECT_TRUE(field.isReadOnly());
    EXPECT_EQ(field.text(), QStringLiteral("s3cret"));
    EXPECT_EQ(field.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(field.echoMode(), QLineEdit::Password);
    EXPECT_EQ(field.font().pixelSize(), 14);
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(returns, 1);
}

TEST(StyledTextFieldTest, EveryCellIsMadeByNameAndFitsEveryField)
{
    registerChromeClasses();
    auto &registry = Bastwick::ClassRegistry::instance();
    const QStringList cells = {QStringLiteral("KSTTextFieldCell"), QStringLiteral("KSTSecureTextFieldCell"),
                               QStringLiteral("KSTTagTextFieldCell"),
                               QStringLiteral("KSTAddListTextFieldCell"),
                               QStringLiteral("KSTTaskTextFieldCell")};
    const QStringList fields = {QStringLiteral("KSTTextField"), QStringLiteral("KSTSecureTextField")};
    for (const QString &fieldName : fields) {
        for (const QString &cellName : cells) {
            SCOPED_TRACE((fieldName + QLatin1Char('/') + cellName).toStdString());
            std::unique_ptr<QObject> made(registry.createObject(fieldName));
            auto *field = qobject_cast<KSTTextField *>(made.get());
            ASSERT_TRUE(field);
            auto *cell = qobject_cast<StyledFieldCell *>(registry.createObject(cellName));
            ASSERT_TRUE(cell);
            field->setCell(cell);
            field->resize(200, 30);
            field->setText(QStringLiteral("value"));
            const bool secure = fieldName == QLatin1String("KSTSecureTextField");
            EXPECT_EQ(field->cell()->metaObject()->className(),
                      secure && cellName != QLatin1String("KSTSecureTextFieldCell")
                          ? QByteArray("KSTSecureTextFieldCell")
                          : cellName.toLatin1());
            EXPECT_EQ(field->font(), field->cell()->font());
            EXPECT_FALSE(shot(*field).isNull());
        }
    }
    for (const QString &cellName : cells) {
        SCOPED_TRACE(cellName.toStdString());
        std::unique_ptr<QObject> made(registry.createObject(QStringLiteral("KSTTaskTextField")));
        auto *field = qobject_cast<KSTTaskTextField *>(made.get());
        ASSERT_TRUE(field);
        field->setCell(qobject_cast<StyledFieldCell *>(registry.createObject(cellName)));
        EXPECT_EQ(field->cell()->metaObject()->className(), cellName.toLatin1());
    }
}
