#include <pavisade/forms/XXXDragImageZone.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>
#include <pavisade/viewcontrollers/XXXDragViewController.h>

#include <bastwick/platform/NotificationCenter.h>

#include "support/LogCapture.h"

#include <QtCore/QMimeData>
#include <QtCore/QUrl>
#include <QtGui/QDragEnterEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>

#include <gtest/gtest.h>

namespace {

struct Posts
{
    QObject context;
    QList<QVariant> objects;
    explicit Posts(const QString &name)
    {
        Bastwick::NotificationCenter::defaultCenter().addObserver(
            &context, name, [this](const Bastwick::Notification &n) { objects << n.object; });
    }
};

QMimeData *files(const QStringList &paths)
{
    auto *mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    mime->setUrls(urls);
    return mime;
}

// Enters and drops; answers whether the entry was accepted.
bool dragAndDrop(QWidget *zone, QMimeData *mime, Qt::DropActions actions, Qt::DropAction *answered = nullptr,
                 bool *dropAccepted = nullptr)
{
    QDragEnterEvent enter(QPoint(5, 5), actions, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(zone, &enter);
    if (answered)
        *answered = enter.dropAction();
    QDropEvent drop(QPointF(5, 5), actions, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(zone, &drop);
    if (dropAccepted)
        *dropAccepted = drop.isAccepted();
    return enter.isAccepted();
}

} // namespace

TEST(DropZone, AFileDropPostsTheFirstPathUnderTheRegisteredName)
{
    Posts posts("DBImportDataNotify");
    XXXDragImageZone zone;
    EXPECT_DOUBLE_EQ(zone.alphaValue(), 0.2);
    zone.registerNotify("DBImportDataNotify");
    std::unique_ptr<QMimeData> mime(files({"/tmp/a.json", "/tmp/b.json", "/tmp/c.json"}));

    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::LinkAction, mime.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&zone, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::LinkAction) << "link is preferred when the source allows it";
    EXPECT_DOUBLE_EQ(zone.alphaValue(), 1.0);

    QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::LinkAction, mime.get(), Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(&zone, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_DOUBLE_EQ(zone.alphaValue(), 0.2);
    EXPECT_EQ(posts.objects, QList<QVariant>{QString("/tmp/a.json")}) << "one notification, the first file";

    Qt::DropAction answered = Qt::IgnoreAction;
    EXPECT_TRUE(dragAndDrop(&zone, mime.get(), Qt::CopyAction, &answered));
    EXPECT_EQ(answered, Qt::CopyAction);

    QDragEnterEvent again(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&zone, &again);
    QDragLeaveEvent leave;
    QApplication::sendEvent(&zone, &leave);
    EXPECT_DOUBLE_EQ(zone.alphaValue(), 0.2) << "leaving fades the zone out";
}

TEST(DropZone, DragsWithoutFilesOrANameAreAcceptedButAnnounceNothing)
{
    Posts posts("DroppedMsg");
    XXXDragImageZone zone;
    TestSupport::LogCapture log;

    QMimeData colour;
    colour.setColorData(QColor(Qt::red));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &colour, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&zone, &enter);
    EXPECT_FALSE(enter.isAccepted()) << "a colour is refused";
    EXPECT_DOUBLE_EQ(zone.alphaValue(), 0.2);
    // The window system delivers no drop after a refused entry; hand one over directly.
    struct Zone : XXXDragImageZone
    {
        using XXXDragImageZone::dropEvent;
    } other;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &colour, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    other.dropEvent(&drop);
    EXPECT_TRUE(drop.isAccepted()) << "a drop without files is still accepted";
    EXPECT_TRUE(log.contains("not register!"));

    bool dropAccepted = false;

    std::unique_ptr<QMimeData> mime(files({"/tmp/a.json"}));
    EXPECT_TRUE(dragAndDrop(&zone, mime.get(), Qt::CopyAction, nullptr, &dropAccepted));
    EXPECT_TRUE(dropAccepted);
    EXPECT_EQ(log.count("nofifyName nil! filePath /tmp/a.json discard!"), 1);

    zone.registerNotify("DroppedMsg");
    QMimeData web;
    web.setUrls({QUrl("https://example.com/a.json")});
    dragAndDrop(&zone, &web, Qt::CopyAction, nullptr, &dropAccepted);
    EXPECT_TRUE(dropAccepted);
    EXPECT_TRUE(log.contains("drag file num =0 return!"));
    EXPECT_TRUE(posts.objects.isEmpty());
}

TEST(DropZone, ScreensShowTheZoneCentredInTheirDropParent)
{
    struct Screen : X3CommonViewController
    {
        QWidget *area = new QWidget(this);
        QWidget *dragParentView() override { return area; }
        QString dragZoneTitle() const override { return "Drop a file to import"; }
        QString dragNotification() const override { return "DBImportDataNotify"; }
    } screen;
    screen.area->resize(400, 300);
    screen.showDragView();
    XXXDragViewController *drop = screen.dragViewController();
    EXPECT_EQ(drop->parentWidget(), screen.area);
    EXPECT_EQ(drop->geometry().center(), QRect(QPoint(), screen.area->size()).center());
    EXPECT_EQ(drop->titleFld()->text(), "Drop a file to import");
    EXPECT_EQ(drop->dramImageZone()->nofifyName(), "DBImportDataNotify");
    drop->setDragTitle(QString());
    EXPECT_EQ(drop->titleFld()->text(), "Drop a file to import") << "no text leaves the caption";

    screen.hideDragView();
    EXPECT_EQ(drop->parentWidget(), &screen) << "taken off, still owned";
    EXPECT_TRUE(drop->isHidden());

    X3CommonViewController plain;
    plain.showDragView();
    EXPECT_EQ(plain.dragViewController()->parentWidget(), &plain) << "no drop parent: nothing shown";
    EXPECT_TRUE(plain.dragViewController()->isHidden());
}
