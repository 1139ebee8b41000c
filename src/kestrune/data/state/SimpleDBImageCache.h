#pragma once

#include <QtCore/QString>
#include <QtGui/QImage>

// The named images the key tree shows for database and table nodes, and a few more.
// Each is looked up by name on every call; a missing image is a null image.
class SimpleDBImageCache
{
public:
    static SimpleDBImageCache &sharedInstance();

    SimpleDBImageCache();

    QImage dbNodeImage() const;        // "DBDatabase"
    QImage dbSysNodeImage() const;     // "DBDatabase-Sys"
    QImage tableNodeImage() const;     // "DBDocs"
    QImage tableSysNodeImage() const;  // "DBTable-Sys"
    QImage keyImage() const;           // "column-key"
    QImage columnImage() const;        // "column-field"
    QImage windosTitleImage() const;   // "window-title"
    QImage deviceIPhoneImage() const;  // "dev-iphone"
    QImage deviceIMacImage() const;    // "dev-imac"
    QImage deviceIPadImage() const;    // "dev-ipad"
    QImage deviceMacbookImage() const; // "dev-macbook"

    // The image of that name (resource ":/images/<name>.svg" and the other places the
    // application's named images are looked up in).
    static QImage imageNamed(const QString &name);
};
