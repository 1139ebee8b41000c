// Shoots the styled buttons and the arches panel, for a look by eye (not a test):
//   xvfb-run -a -s '-screen 0 1280x800x24' kestrune_controls_shots <folder>
// writes controls-buttons.png (coloured buttons of every type, pressed and disabled
// ones, flat, text-only and link buttons at rest and held down) and controls-arches.png
// (an arches panel over a dark backdrop, once at rest and once with the pointer over its
// traffic lights).
#include <kestrune/chrome/KSTTrafficLightsView.h>
#include <kestrune/chrome/Palette.h>
#include <kestrune/chrome/TBWindow.h>
#include <kestrune/chrome/controls/BorderlessLinkButton.h>
#include <kestrune/chrome/controls/ColorButton.h>
#include <kestrune/chrome/controls/KSTArchesWindow.h>
#include <kestrune/chrome/controls/KSTFlatButton.h>

#include "../../ShotFolder.h"

#include <QtCore/QDir>
#include <QtGui/QEnterEvent>
#include <QtGui/QPainter>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>

#include <cstdio>

namespace {

QLabel *caption(const QString &text)
{
    auto *label = new QLabel(text);
    label->setFont(QFont(QStringLiteral("DejaVu Sans"), -1));
    label->setStyleSheet(QStringLiteral("color: rgb(90, 90, 90);"));
    return label;
}

void shootButtons(const QDir &folder)
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("Styled buttons"));
    window.setStyleSheet(QStringLiteral("background: rgb(236, 236, 236);"));
    auto *grid = new QGridLayout(&window);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(12);

    const QStringList names = {QStringLiteral("Grey"),  QStringLiteral("Blue"),   QStringLiteral("Teal"),
                               QStringLiteral("Green"), QStringLiteral("Orange"), QStringLiteral("Red"),
                               QStringLiteral("Black")};
    grid->addWidget(caption(QStringLiteral("Coloured")), 0, 0);
    for (int type = 0; type < names.size(); ++type) {
        auto *button = new ColorButton(names[type]);
        button->setColorButtonType(type);
        button->setFixedSize(78, 26);
        grid->addWidget(button, 0, type + 1);
    }

    grid->addWidget(caption(QStringLiteral("Held, off")), 1, 0);
    auto *heldBlue = new ColorButton(QStringLiteral("Blue"));
    heldBlue->setColorButtonType(1);
    heldBlue->setFixedSize(78, 26);
    heldBlue->setDown(true);
    auto *heldGrey = new ColorButton(QStringLiteral("Grey"));
    heldGrey->setFixedSize(78, 26);
    heldGrey->setDown(true);
    auto *offGreen = new ColorButton(QStringLiteral("Green"));
    offGreen->setColorButtonType(3);
    offGreen->setFixedSize(78, 26);
    offGreen->setEnabled(false);
    auto *unknown = new ColorButton(QStringLiteral("Type 9"));
    unknown->setColorButtonType(9);
    unknown->setFixedSize(78, 26);
    grid->addWidget(heldBlue, 1, 1);
    grid->addWidget(heldGrey, 1, 2);
    grid->addWidget(offGreen, 1, 3);
    grid->addWidget(unknown, 1, 4);

    grid->addWidget(caption(QStringLiteral("Flat")), 2, 0);
    auto *connect = new KSTFlatButton(QStringLiteral("Connect"));
    auto *save = new KSTFlatButton(QStringLiteral("Save"));
    save->setButtonColor(Kestrune::zodevarBlueColor());
    auto *held = new KSTFlatButton(QStringLiteral("Connect"));
    held->setDown(true);
    auto *offFlat = new KSTFlatButton(QStringLiteral("Delete"));
    offFlat->setEnabled(false);
    int column = 1;
    for (KSTFlatButton *button : {connect, save, held, offFlat}) {
        button->setFixedSize(96, 30);
        grid->addWidget(button, 2, column, 1, 1);
        ++column;
    }

    grid->addWidget(caption(QStringLiteral("Text")), 3, 0);
    auto *cancel = new KSTTextButtonCell(QStringLiteral("Cancel"));
    auto *heldCancel = new KSTTextButtonCell(QStringLiteral("Cancel"));
    heldCancel->setDown(true);
    grid->addWidget(cancel, 3, 1);
    grid->addWidget(heldCancel, 3, 2);

    grid->addWidget(caption(QStringLiteral("Link")), 4, 0);
    auto *docs = new BorderlessLinkButton(QStringLiteral("Documentation"));
    auto *heldDocs = new BorderlessLinkButton(QStringLiteral("Documentation"));
    auto *red = new BorderlessLinkButton(QStringLiteral("Forget server"));
    red->setColor(Kestrune::PaletteColor::rgb(0.74f, 0.21f, 0.18f));
    grid->addWidget(docs, 4, 1, 1, 2);
    grid->addWidget(heldDocs, 4, 3, 1, 2);
    grid->addWidget(red, 4, 5, 1, 2);

    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    // Hold the second link down the way a user would.
    const QPoint middle = heldDocs->rect().center();
    QTest::mousePress(heldDocs, Qt::LeftButton, Qt::NoModifier, middle);
    QTest::qWait(200);
    window.grab().save(folder.filePath(QStringLiteral("controls-buttons.png")));
    QTest::mouseRelease(heldDocs, Qt::LeftButton, Qt::NoModifier, middle);
}

QImage overBackdrop(const QImage &panel)
{
    QImage backdrop(panel.size() + QSize(60, 60), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&backdrop);
    QLinearGradient ground(0, 0, 0, backdrop.height());
    ground.setColorAt(0.0, QColor(44, 62, 80));
    ground.setColorAt(1.0, QColor(20, 28, 36));
    painter.fillRect(backdrop.rect(), ground);
    painter.drawImage(QPoint(30, 30), panel);
    return backdrop;
}

void shootArches(const QDir &folder)
{
    KSTArchesWindow panel(QRect(120, 120, 360, 200),
                          TBWindow::Closable | TBWindow::Miniaturizable | TBWindow::Resizable);
    auto *column = new QVBoxLayout(panel.contentView());
    column->setContentsMargins(24, 36, 24, 20);
    auto *title = new QLabel(QStringLiteral("Connected to deraz://cache-01:7400"));
    QFont bold(QStringLiteral("DejaVu Sans"));
    bold.setPixelSize(14);
    bold.setBold(true);
    title->setFont(bold);
    auto *detail = new QLabel(QStringLiteral("3 databases, 18 204 keys, server 4.2.1"));
    detail->setFont(QFont(QStringLiteral("DejaVu Sans"), -1));
    title->setStyleSheet(QStringLiteral("color: rgb(60, 60, 60); background: transparent;"));
    detail->setStyleSheet(QStringLiteral("color: rgb(100, 100, 100); background: transparent;"));
    column->addWidget(title);
    column->addWidget(detail);
    column->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(new BorderlessLinkButton(QStringLiteral("Server info")));
    row->addStretch();
    auto *disconnect = new KSTFlatButton(QStringLiteral("Disconnect"));
    disconnect->setFixedSize(110, 28);
    row->addWidget(disconnect);
    column->addLayout(row);

    panel.show();
    (void)QTest::qWaitForWindowExposed(&panel);
    QTest::qWait(200);
    const QImage rest = overBackdrop(panel.grab().toImage());

    KSTTrafficLightsView *lights = panel.trafficLights();
    QEnterEvent enter(QPointF(5, 5), lights->mapToGlobal(QPointF(5, 5)), lights->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(lights, &enter);
    QTest::qWait(500);
    const QImage hover = overBackdrop(panel.grab().toImage());

    QImage both(rest.width(), rest.height() * 2, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&both);
    painter.drawImage(0, 0, rest);
    painter.drawImage(0, rest.height(), hover);
    painter.end();
    both.save(folder.filePath(QStringLiteral("controls-arches.png")));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::optional<QDir> shots = AppShots::shotFolder(argc, argv);
    if (!shots)
        return 2;
    const QDir &folder = *shots;
    shootButtons(folder);
    shootArches(folder);
    return 0;
}
