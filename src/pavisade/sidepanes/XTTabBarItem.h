#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtGui/QIcon>

#include <memory>

// One item of an icon tab bar: its image, tooltip, key equivalent (a key text and Qt
// keyboard modifiers), whether its button takes clicks, and a tag for the owner (the
// bar never reads it). Every property notifies, so a bar's button follows changes at
// once. Owned by shared_ptr; main thread.
class PAVISADE_EXPORT XTTabBarItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled NOTIFY enabledChanged)
    Q_PROPERTY(QIcon image READ image WRITE setImage NOTIFY imageChanged)
    Q_PROPERTY(QString toolTip READ toolTip WRITE setToolTip NOTIFY toolTipChanged)
    Q_PROPERTY(QString keyEquivalent READ keyEquivalent WRITE setKeyEquivalent NOTIFY keyEquivalentChanged)
    Q_PROPERTY(int keyEquivalentModifierMask READ keyEquivalentModifierMask WRITE setKeyEquivalentModifierMask
                   NOTIFY keyEquivalentChanged)
    Q_PROPERTY(qint64 tag READ tag WRITE setTag)
public:
    // Enabled, with the image and tag.
    explicit XTTabBarItem(const QIcon &image = QIcon(), qint64 tag = 0);

    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    QIcon image() const { return m_image; }
    void setImage(const QIcon &image);
    QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString &toolTip);
    QString keyEquivalent() const { return m_keyEquivalent; }
    void setKeyEquivalent(const QString &key);
    // Qt::KeyboardModifiers bits.
    int keyEquivalentModifierMask() const { return m_keyEquivalentModifierMask; }
    void setKeyEquivalentModifierMask(int mask);
    qint64 tag() const { return m_tag; }
    void setTag(qint64 tag) { m_tag = tag; }

    // "XTTabBarItem{tag=<tag>}".
    QString description() const;

signals:
    void enabledChanged();
    void imageChanged();
    void toolTipChanged();
    void keyEquivalentChanged();

private:
    bool m_enabled = true;
    QIcon m_image;
    QString m_toolTip;
    QString m_keyEquivalent;
    int m_keyEquivalentModifierMask = 0;
    qint64 m_tag = 0;
};

using XTTabBarItemPtr = std::shared_ptr<XTTabBarItem>;
using XTTabBarItemList = QList<XTTabBarItemPtr>;
