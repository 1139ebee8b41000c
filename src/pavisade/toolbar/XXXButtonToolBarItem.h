#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QList>
#include <QtCore/QMetaType>
#include <QtCore/QString>
#include <QtCore/QVariantList>
#include <QtGui/QColor>

// One button or label of a button toolbar. A plain value; a screen's toolbar is built
// from a list of them (see XXXUIConfig).
class PAVISADE_EXPORT XXXButtonToolBarItem
{
    Q_GADGET
    Q_PROPERTY(qint64 ID MEMBER ID)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString tooltips MEMBER tooltips)
    Q_PROPERTY(qint64 alignment MEMBER alignment)
    Q_PROPERTY(qint64 width MEMBER width)
    Q_PROPERTY(int toolBarItemType MEMBER toolBarItemType)
    Q_PROPERTY(QString identifier MEMBER identifier)
    Q_PROPERTY(QString image MEMBER image)
    Q_PROPERTY(QString alternateImage MEMBER alternateImage)
    Q_PROPERTY(bool enable MEMBER enable)
    Q_PROPERTY(bool editable MEMBER editable)
    Q_PROPERTY(QVariantList items MEMBER items)
    Q_PROPERTY(qint64 tag MEMBER tag)
    Q_PROPERTY(QColor textColor MEMBER textColor)
public:
    // Item kinds; any other value makes no view.
    static constexpr int TypeLabel = 0;
    static constexpr int TypeImageButton = 7;

    qint64 ID = 0;           // free number, not read by the toolbar
    QString title;           // text of a label
    QString tooltips;        // tooltip of a button (none when null)
    qint64 alignment = 0;    // text alignment of a label: 0 left, 1 right, 2 centre
    qint64 width = 0;        // fixed width; 0 or less: share of the free width (labels)
                             // or the default button width
    int toolBarItemType = 0; // TypeImageButton or TypeLabel
    QString identifier;      // object name of the item's view
    QString image;           // image name of a button
    QString alternateImage;  // carried
    bool enable = false;     // carried (buttons are always enabled)
    bool editable = false;   // carried
    QVariantList items;      // carried
    qint64 tag = 0;          // tag of the item's view when greater than 0
    QColor textColor;        // text colour of a label; the default colour when invalid
};

// The base of the classes that keep the toolbar items of a screen. Each subclass
// hides defConfig() with its own list; the screen answers it from toolbarItemsConfig().
class PAVISADE_EXPORT XXXUIConfig
{
public:
    static QList<XXXButtonToolBarItem> defConfig() { return {}; }
};
