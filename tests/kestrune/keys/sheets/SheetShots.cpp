// Shoots the add and update sheets for a look by eye, and times the opening of large
// keys (not a test):
//   xvfb-run -a -s '-screen 0 1280x800x24' kestrune_key_sheet_shots <folder>
// writes add-string.png, add-hash.png, add-reopened.png (the add sheet begun again
// after Cancel, showing what was typed), update-list.png, update-set.png,
// update-zset.png, update-hash-100k.png, list-twin.png and list-twin-cleared.png (the
// second list editor on its own, filled, then emptied), and prints how long the update
// sheet takes to open and paint a 5 MB string and a hash of 100,000 fields. Like the key
// tree, it makes each sheet once and begins it again for every opening.
#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/keys/sheets/DerazAddKeyPanel.h>
#include <kestrune/keys/sheets/DerazAddListViewController.h>
#include <kestrune/keys/sheets/DerazKVDataDelegate.h>
#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>
#include <kestrune/keys/sheets/DerazUpdatePanel.h>
#include <kestrune/shell/Startup.h>

#include "../../ShotFolder.h"

#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMainWindow>

#include <cstdio>

namespace {

void fill(DerazKeyEditorViewController *editor, const QList<QStringList> &rows)
{
    auto *model = editor->dataDelegate();
    for (const QStringList &cells : rows) {
        model->addNewData();
        const int row = int(model->itemCount()) - 1;
        for (int column = 0; column < cells.size(); ++column) {
            if (!cells.at(column).isNull())
                model->setData(model->index(row, column), cells.at(column), Qt::EditRole);
        }
    }
}

DerazUnit unit(const QByteArray &key, int type, qint64 ttl, const QByteArrayList &reply)
{
    DerazUnit u;
    u.setKey(key);
    u.setType(type);
    u.setTtl(ttl);
    switch (type) {
    case 0:
        u.updateStringValues(reply.value(0));
        break;
    case 1:
        u.updateHashValues(reply);
        break;
    case 2:
        u.updateListValues(reply);
        break;
    case 3:
        u.updateSetValues(reply);
        break;
    default:
        u.updateZSetValues(reply);
        break;
    }
    return u;
}

void shoot(QWidget *panel, const QDir &folder, const QString &name)
{
    QTest::qWait(150);
    panel->grab().save(folder.filePath(name));
}

// Begins the update sheet on the unit and answers the milliseconds until it has painted.
qint64 timeOpening(QMainWindow *window, const DerazUnit &u, DerazUpdatePanel *panel)
{
    QElapsedTimer timer;
    timer.start();
    panel->beginWithUnit(window, QVariant::fromValue(u));
    panel->repaint();
    QApplication::processEvents();
    return timer.elapsed();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::optional<QDir> shots = AppShots::shotFolder(argc, argv);
    if (!shots)
        return 2;
    const QDir &folder = *shots;
    Kestrune::configureApplication(app);
    Kestrune::registerAllClasses();

    QMainWindow window;
    window.resize(1000, 720);
    window.show();

    DerazAddKeyPanel addSheet;
    DerazAddKeyPanel *add = &addSheet;
    add->beginWithUnit(&window, {});
    fill(add->currentViewController(), {{"user:1", "Ada Lovelace", "-1"},
                                        {"\"bin\\xff\\xfe\"", "\"a\\x00b\\tc\\r\\n\"", "3600"},
                                        {"greeting", "caf\u00e9 \u2615", "-1"}});
    shoot(add, folder, "add-string.png");
    add->keyTypeSegments()->button(1)->click();
    add->currentViewController()->keyTextField()->setText("session:42");
    add->currentViewController()->ttlTextField()->setText("600");
    fill(add->currentViewController(), {{"name", "Grace"}, {"token", "\"\\x00\\x01\\xff\""}, {"empty", ""}});
    shoot(add, folder, "add-hash.png");
    add->cancel();
    QApplication::processEvents();
    add->beginWithUnit(&window, {});
    shoot(add, folder, "add-reopened.png");
    add->cancel();

    DerazUpdatePanel updateSheet;
    DerazUpdatePanel *panel = &updateSheet;
    timeOpening(&window, unit("queue", 2, -1, {"first", "", "  ", QByteArray("\xff\x00", 2), "first"}),
                panel);
    shoot(panel, folder, "update-list.png");
    panel->cancel();
    timeOpening(&window, unit("tags", 3, 86400, {"red", "green", "blue"}), panel);
    shoot(panel, folder, "update-set.png");
    panel->cancel();
    timeOpening(&window,
                unit("scores", 4, -1, {"alice", "1700000000123", "bob", "0.1", "carol", "-inf", "", "2.5"}),
                panel);
    shoot(panel, folder, "update-zset.png");
    panel->cancel();

    const QByteArray big(5 * 1024 * 1024, 'x');
    const qint64 stringMs = timeOpening(&window, unit("big", 0, -1, {big}), panel);
    panel->cancel();
    QByteArrayList fields;
    for (int i = 0; i < 100000; ++i) {
        fields.append("field:" + QByteArray::number(i));
        fields.append("value " + QByteArray::number(i));
    }
    const qint64 hashMs = timeOpening(&window, unit("big-hash", 1, -1, fields), panel);
    QElapsedTimer scroll;
    scroll.start();
    panel->currentViewController()->tableView()->scrollToBottom();
    panel->repaint();
    QApplication::processEvents();
    const qint64 scrollMs = scroll.elapsed();
    shoot(panel, folder, "update-hash-100k.png");
    panel->cancel();
    QApplication::processEvents();

    DerazAddListViewController twin;
    twin.view();
    twin.resize(520, 320);
    twin.show();
    twin.keyTextField()->setText("queue");
    twin.ttlTextField()->setText("120");
    fill(&twin,
         {{QString(), "first"}, {QString(), "  "}, {QString(), "\"\\xff\\x00\""}, {QString(), "first"}});
    shoot(&twin, folder, "list-twin.png");
    twin.clearData();
    shoot(&twin, folder, "list-twin-cleared.png");

    std::printf("update sheet, 5 MB string: open and paint %lld ms\n", static_cast<long long>(stringMs));
    std::printf("update sheet, 100000-field hash: open and paint %lld ms, scroll to the end %lld ms\n",
                static_cast<long long>(hashMs), static_cast<long long>(scrollMs));
    return 0;
}
