// Shoots a HUD window holding every HUD control, for a look by eye (not a test):
//   xvfb-run -a -s '-screen 0 1280x800x24' kestrune_hud_shots <folder>
// writes hud-window.png (the window on a clear ground), hud-over-light.png (the same over
// a light, patterned backdrop, showing the translucent body) and hud-pressed.png (close
// button, a push button and a segment held down, the text field focused with a
// selection).
#include <kestrune/chrome/Palette.h>
#include <kestrune/chrome/hud/HUDButtonCell.h>
#include <kestrune/chrome/hud/HUDSegmentedCell.h>
#include <kestrune/chrome/hud/HUDTextFieldCell.h>
#include <kestrune/chrome/hud/HUDTextView.h>
#include <kestrune/chrome/hud/HUDWindow.h>
#include <kestrune/chrome/hud/HUDWindowButtonCell.h>

#include "../../ShotFolder.h"

#include <QtCore/QDir>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGridLayout>
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

    HUDWindow window(QRect(80, 80, 380, 300));
    window.setTitle(QStringLiteral("Key Inspector"));
    auto *content = new QWidget;
    auto *grid = new QGridLayout(content);
    grid->setContentsMargins(14, 10, 14, 12);
    grid->setVerticalSpacing(8);

    const auto label = [](const QString &text) {
        auto *l = new QLabel(text);
        l->setStyleSheet(QStringLiteral("color: rgb(178, 178, 178);"));
        l->setFont(QFont(QStringLiteral("DejaVu Sans"), -1));
        return l;
    };
    auto *key = new HUDTextFieldCell;
    key->setText(QStringLiteral("session:4711"));
    auto *ttl = new HUDTextFieldCell;
    ttl->setPlaceholderText(QStringLiteral("no expiry"));
    ttl->setDrawsBackground(true);
    grid->addWidget(label(QStringLiteral("Key")), 0, 0);
    grid->addWidget(key, 0, 1);
    grid->addWidget(label(QStringLiteral("TTL")), 1, 0);
    grid->addWidget(ttl, 1, 1);

    auto *type = new HUDSegmentedCell;
    type->setSegmentCount(4);
    const QStringList types = {QStringLiteral("String"), QStringLiteral("Hash"), QStringLiteral("List"),
                               QStringLiteral("Set")};
    for (int i = 0; i < types.size(); ++i)
        type->setLabel(types[i], i);
    type->setSelectedSegment(1);
    type->setEnabled(false, 3);
    grid->addWidget(label(QStringLiteral("Type")), 2, 0);
    grid->addWidget(type, 2, 1);

    auto *value = new HUDTextView;
    value->setPlainText(
        QStringLiteral("{\n  \"user\": \"ada\",\n  \"visits\": 42,\n  \"admin\": false\n}\n"));
    value->setMinimumHeight(70);
    grid->addWidget(value, 3, 0, 1, 2);

    auto *checks = new QHBoxLayout;
    auto *wrap = new HUDButtonCell(QStringLiteral("Wrap lines"));
    wrap->setButtonType(HUDButtonCell::Switch);
    auto *raw = new HUDButtonCell(QStringLiteral("Raw bytes"));
    raw->setButtonType(HUDButtonCell::Switch);
    raw->setCheckState(Qt::Checked);
    auto *some = new HUDButtonCell(QStringLiteral("Some keys"));
    some->setButtonType(HUDButtonCell::Switch);
    some->setCheckState(Qt::PartiallyChecked);
    checks->addWidget(wrap);
    checks->addWidget(raw);
    checks->addWidget(some);
    checks->addStretch();
    grid->addLayout(checks, 4, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    auto *disabled = new HUDButtonCell(QStringLiteral("Delete"));
    disabled->setEnabled(false);
    auto *cancel = new HUDButtonCell(QStringLiteral("Cancel"));
    auto *save = new HUDButtonCell(QStringLiteral("Save"));
    save->setDefault(true);
    buttons->addWidget(disabled);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(save);
    grid->addLayout(buttons, 5, 0, 1, 2);

    window.setContentView(content);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    QTest::qWait(300);

    const QImage clear = window.grab().toImage();
    clear.save(folder.filePath(QStringLiteral("hud-window.png")));

    QImage backdrop(clear.size() + QSize(80, 80), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&backdrop);
        painter.fillRect(backdrop.rect(), QColor(236, 236, 236));
        painter.fillRect(backdrop.rect(), Kestrune::zodevarArchesColor());
        painter.drawImage(QPoint(40, 40), clear);
    }
    backdrop.save(folder.filePath(QStringLiteral("hud-over-light.png")));

    window.closeButton()->setDown(true);
    cancel->setDown(true);
    const QPointF segment = type->segmentRect(2).center();
    QMouseEvent press(QEvent::MouseButtonPress, segment, type->mapToGlobal(segment), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(type, &press);
    window.activateWindow();
    key->setFocus();
    key->setSelection(0, 7);
    QTest::qWait(300);
    window.grab().save(folder.filePath(QStringLiteral("hud-pressed.png")));
    return 0;
}
