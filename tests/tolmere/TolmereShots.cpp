// Draws the Tolmere widgets into PNG files in the folder given as the first argument
// (default: the current folder), for a look at them: the ruler with markers, the
// sidebar, and the hover table with a badge column.

#include <tolmere/HoverTableView.h>
#include <tolmere/IconSidebar.h>
#include <tolmere/LineNumberMarker.h>
#include <tolmere/LineNumberTextEdit.h>
#include <tolmere/LineNumberView.h>
#include <tolmere/OSXBadgeTextFieldCell.h>

#include <QtCore/QDir>
#include <QtCore/QTimer>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QStandardItemModel>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QScrollArea>

namespace {

QImage markerImage()
{
    QImage image(12, 12, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(220, 60, 50));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(1, 1, 10, 10));
    return image;
}

QPixmap sidebarIcon(const QColor &color, int shape)
{
    QPixmap pixmap(30, 30);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    if (shape == 0)
        p.drawEllipse(QRectF(3, 3, 24, 24));
    else if (shape == 1)
        p.drawRoundedRect(QRectF(4, 4, 22, 22), 4, 4);
    else {
        QPainterPath path;
        path.moveTo(15, 3);
        path.lineTo(27, 26);
        path.lineTo(3, 26);
        path.closeSubpath();
        p.drawPath(path);
    }
    return pixmap;
}

void save(QWidget *widget, const QString &path)
{
    widget->grab().save(path);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();

    // Ruler with markers.
    LineNumberTextEdit edit;
    QStringList lines;
    for (int i = 1; i <= 140; ++i)
        lines << QStringLiteral("    value_%1 = compute(%1);").arg(i);
    edit.setPlainText(lines.join(QLatin1Char('\n')));
    edit.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    auto *ruler = new LineNumberView(&edit);
    ruler->setBackgroundColor(QColor(240, 240, 240));
    QFont rulerFont(QStringLiteral("DejaVu Sans Mono"));
    rulerFont.setPixelSize(11);
    ruler->setFont(rulerFont);
    ruler->setAlternateTextColor(Qt::white);
    for (int line : {3, 7, 12})
        ruler->addMarker(std::make_shared<LineNumberMarker>(ruler, line, markerImage(), QPointF(6, 6)));
    edit.resize(420, 300);
    edit.show();

    // Sidebar.
    QScrollArea area;
    auto *sidebar = new IconSidebar;
    const QColor colors[] = {QColor(90, 170, 250), QColor(250, 190, 70), QColor(120, 220, 120),
                             QColor(230, 100, 160)};
    for (int i = 0; i < 4; ++i)
        sidebar->addItemWithImage(sidebarIcon(colors[i], i % 3));
    area.setWidget(sidebar);
    area.resize(62, 320);
    area.show();
    sidebar->setSelectedIndex(1);

    // Hover table with badges.
    QStandardItemModel model(6, 2);
    const char *names[] = {"db0", "sessions", "cache:users", "queue:mail", "locks", "metrics"};
    const int counts[] = {12, 3, 1450, 0, 7, 88};
    for (int r = 0; r < 6; ++r) {
        model.setItem(r, 0, new QStandardItem(QString::fromLatin1(names[r])));
        model.setItem(r, 1, new QStandardItem(counts[r] ? QString::number(counts[r]) : QString()));
    }
    HoverTableView table;
    table.setModel(&model);
    table.setItemDelegateForColumn(1, new OSXBadgeTextFieldCellDelegate(&table));
    table.horizontalHeader()->hide();
    table.horizontalHeader()->setStretchLastSection(true);
    table.setColumnWidth(0, 200);
    table.verticalHeader()->setDefaultSectionSize(30);
    table.setFrameShape(QFrame::NoFrame);
    QPalette palette = table.palette();
    palette.setColor(QPalette::Base, QColor(236, 238, 242));
    table.setPalette(palette);
    table.resize(320, 340);
    table.show();
    table.selectRow(2);

    QTest::qWait(200);
    QTest::mouseMove(table.viewport(), QPoint(150, table.rowViewportPosition(4) + 15));
    QTest::qWait(200);

    save(&edit, folder + QStringLiteral("/tolmere-ruler.png"));
    save(&area, folder + QStringLiteral("/tolmere-sidebar.png"));
    save(&table, folder + QStringLiteral("/tolmere-hover-table.png"));

    // A badge drawn selected (dark background) beside a light one.
    QImage badges(220, 60, QImage::Format_ARGB32_Premultiplied);
    badges.fill(QColor(236, 238, 242));
    {
        QPainter p(&badges);
        p.fillRect(QRectF(0, 30, 220, 30), QColor(56, 117, 215));
        OSXBadgeTextFieldCell light(QStringLiteral("42"));
        light.drawWithFrame(&p, QRectF(0, 5, 100, 20));
        OSXBadgeTextFieldCell dark(QStringLiteral("42"), OSXBadgeTextFieldCell::BackgroundStyleDark);
        dark.drawWithFrame(&p, QRectF(0, 35, 100, 20));
        OSXBadgeTextFieldCell empty;
        empty.drawWithFrame(&p, QRectF(100, 5, 100, 20));
        OSXBadgeTextFieldCell wide(QStringLiteral("1234567890"), OSXBadgeTextFieldCell::BackgroundStyleDark);
        wide.drawWithFrame(&p, QRectF(170, 35, 40, 20));
    }
    badges.save(folder + QStringLiteral("/tolmere-badges.png"));
    return 0;
}
