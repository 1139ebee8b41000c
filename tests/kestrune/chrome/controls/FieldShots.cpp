// Shoots a window holding every styled text field and the token field, for a look by eye
// (not a test):
//   xvfb-run -a -s '-screen 0 1280x800x24' kestrune_field_shots <folder>
// writes fields-main.png (the window drawing as main, the first rounded field focused)
// and fields-inactive.png (the same window after it stopped drawing as main).
#include <kestrune/chrome/TBWindow.h>
#include <kestrune/chrome/controls/KSTAddListTextFieldCell.h>
#include <kestrune/chrome/controls/KSTSecureTextField.h>
#include <kestrune/chrome/controls/KSTTagTextFieldCell.h>
#include <kestrune/chrome/controls/KSTTaskTextField.h>
#include <kestrune/chrome/controls/KSTTextField.h>
#include <kestrune/chrome/controls/KSTTextFieldCell.h>
#include <kestrune/chrome/controls/TKNTokenAttachmentCell.h>
#include <kestrune/chrome/controls/TKNTokenField.h>

#include "../../ShotFolder.h"

#include <QtCore/QDir>
#include <QtGui/QTextCursor>
#include <QtGui/QTextDocumentFragment>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::optional<QDir> shots = AppShots::shotFolder(argc, argv);
    if (!shots)
        return 2;
    const QDir &folder = *shots;

    bool drawsAsMain = true;
    TBWindow window;
    window.setActivationStateHook([&drawsAsMain](const TBWindow *) { return drawsAsMain; });
    window.setWindowTitle(QStringLiteral("Styled fields"));
    auto *body = new QWidget;
    auto *form = new QFormLayout(body);
    form->setContentsMargins(16, 14, 16, 16);
    form->setVerticalSpacing(6);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const auto rounded = [](const QString &text, const QString &placeholder) {
        auto *field = new KSTTextField;
        field->setCell(new KSTTextFieldCell);
        field->setFixedHeight(34);
        field->setText(text);
        field->setPlaceholderString(placeholder);
        return field;
    };
    auto *focused = rounded(QStringLiteral("session:4711"), QStringLiteral("Key name"));
    form->addRow(QStringLiteral("Rounded, focused"), focused);
    form->addRow(QStringLiteral("Rounded, placeholder"), rounded(QString(), QStringLiteral("Filter keys")));

    auto *secure = new KSTSecureTextField;
    secure->setFixedHeight(34);
    secure->setText(QStringLiteral("hunter2"));
    form->addRow(QStringLiteral("Secure"), secure);
    auto *securePlaceholder = new KSTSecureTextField;
    securePlaceholder->setFixedHeight(34);
    securePlaceholder->setPlaceholderString(QStringLiteral("Password"));
    form->addRow(QStringLiteral("Secure, placeholder"), securePlaceholder);

    // The tag cell's white text is meant for a coloured strip.
    auto *strip = new QWidget;
    strip->setAutoFillBackground(true);
    strip->setFixedHeight(32);
    QPalette stripPalette = strip->palette();
    stripPalette.setColor(QPalette::Window, QColor(0x5b, 0x8d, 0xd9));
    strip->setPalette(stripPalette);
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(6, 2, 6, 2);
    auto *tag = new KSTTextField;
    tag->setCell(new KSTTagTextFieldCell);
    tag->cell()->setBezeled(false);
    tag->cell()->setDrawsBackground(false);
    tag->setText(QStringLiteral("production"));
    stripLayout->addWidget(tag);
    form->addRow(QStringLiteral("Tag"), strip);

    auto *addList = new KSTTextField;
    addList->setCell(new KSTAddListTextFieldCell);
    addList->setPlaceholderString(QStringLiteral("Add a list entry"));
    addList->setText(QStringLiteral("new entry"));
    form->addRow(QStringLiteral("Add to list"), addList);

    auto *task = new KSTTaskTextField;
    task->setFixedHeight(30);
    task->setAttributedStringValue(QTextDocumentFragment::fromHtml(QStringLiteral(
        "Rotate keys for <a href=\"https://example.com/tickets/42\">ticket 42</a> before Friday")));
    form->addRow(QStringLiteral("Task"), task);

    const auto bubbles = [](TKNTokenField *, const QVariant &object) {
        return std::make_shared<TKNTokenAttachmentCell>(object.toString());
    };
    auto *tokens = new TKNTokenField;
    tokens->setFixedHeight(30);
    tokens->setDelegate(bubbles);
    tokens->setObjectValue({QStringLiteral("user:*"), QStringLiteral("session:*"), QStringLiteral("cache")});
    tokens->moveCursor(QTextCursor::End);
    tokens->insertPlainText(QStringLiteral(" still typing"));
    form->addRow(QStringLiteral("Tokens + typed"), tokens);

    auto *selected = new TKNTokenField;
    selected->setFixedHeight(30);
    selected->setDelegate(bubbles);
    selected->setObjectValue(
        {QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma"), QStringLiteral("delta")});
    QTextCursor selection(selected->document());
    selection.setPosition(1);
    selection.setPosition(3, QTextCursor::KeepAnchor);
    selected->setTextCursor(selection);
    form->addRow(QStringLiteral("Tokens, 2 selected"), selected);

    window.setCentralWidget(body);
    window.resize(620, 470);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
    focused->setFocus();
    QTest::qWait(200);

    bool ok = window.grab().save(folder.filePath(QStringLiteral("fields-main.png")));
    drawsAsMain = false;
    window.activationStateDidChange();
    QTest::qWait(200);
    ok = window.grab().save(folder.filePath(QStringLiteral("fields-inactive.png"))) && ok;
    return ok ? 0 : 1;
}
