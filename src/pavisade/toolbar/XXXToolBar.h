#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/toolbar/XXXToolBarItem.h>

#include <QtCore/QHash>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QStringList>
#include <QtCore/QVariantMap>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QToolBar>

#include <functional>

// A window toolbar described by an XML file instead of code. The file names the
// toolbar ("identifier", required), its settings ("allowsusercustomization",
// "showsbaselineseparator" by presence, "sizemode", "displaymode" by their exact
// texts; the first element of each name anywhere in the document counts) and its
// items ("toolbaritem" elements, in document order; of each item's children the
// first of each name counts). An item whose "enable" is "0" is skipped; the label
// "Config" makes the configuration item.
//
// The toolbar is put on the window, the window is shown, and a flexible space goes
// before the last item. A click on an item calls `toolBarCallbackBlock` with
// {"message": the item's notification}. Malformed markup is repaired, with a log line,
// as a tidying reader does: an "&" or "<" that starts no reference or tag is text, and
// elements left open are closed by the end tag of an element around them or at the end.
// A file that is missing, holds no element or has no identifier gives no toolbar (one
// log line); an item missing a required child is skipped with a log line. Main thread.
class PAVISADE_EXPORT XXXToolBar : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int displayMode READ displayMode WRITE setToolbarDisplayMode)
    Q_PROPERTY(int sizeMode READ sizeMode WRITE setToolbarSizeMode)
    Q_PROPERTY(
        bool allowsUserCustomization READ allowsUserCustomization WRITE setToolbarAllowsUserCustomization)
    Q_PROPERTY(bool autosavesConfiguration READ autosavesConfiguration WRITE setToolbarAutosavesConfiguration)
    Q_PROPERTY(bool showsBaselineSeparator READ showsBaselineSeparator WRITE setToolbarShowsBaselineSeparator)

public:
    // Display modes: 0 default, 1 icon and label, 2 icon only, 3 label only.
    // Size modes: 0 default, 1 regular, 2 small.
    XXXToolBar(QMainWindow *window, const QString &xmlPath, QObject *parent = nullptr);
    ~XXXToolBar() override;

    QMainWindow *window() const { return m_window; }
    // The toolbar built for the window, else null (the newest one when there are several).
    static XXXToolBar *ofWindow(const QMainWindow *window);
    // Null when the definition could not be read.
    QToolBar *toolbar() const { return m_toolbar; }
    const QHash<QString, XXXToolBarItem *> &toolbarItems() const { return m_toolbarItems; }
    QStringList toolbarOrderedIdentifiers() const { return m_toolbarOrderedIdentifiers; }
    qsizetype count() const { return m_toolbarItems.size(); }

    std::function<void(const QVariantMap &)> toolBarCallbackBlock;
    void setToolBarCallbackBlock(const std::function<void(const QVariantMap &)> &block)
    {
        toolBarCallbackBlock = block;
    }

    // The item stored under the identifier, else null.
    XXXToolBarItem *itemForItemIdentifier(const QString &identifier) const;
    QStringList toolbarDefaultItemIdentifiers() const { return m_toolbarOrderedIdentifiers; }
    QStringList toolbarAllowedItemIdentifiers() const { return m_toolbarOrderedIdentifiers; }

    int displayMode() const { return m_displayMode; }
    void setToolbarDisplayMode(int mode);
    int sizeMode() const { return m_sizeMode; }
    void setToolbarSizeMode(int mode);
    bool allowsUserCustomization() const { return m_allowsUserCustomization; }
    void setToolbarAllowsUserCustomization(bool allows) { m_allowsUserCustomization = allows; }
    bool autosavesConfiguration() const { return m_autosavesConfiguration; }
    void setToolbarAutosavesConfiguration(bool autosaves) { m_autosavesConfiguration = autosaves; }
    bool showsBaselineSeparator() const { return m_showsBaselineSeparator; }
    void setToolbarShowsBaselineSeparator(bool shows) { m_showsBaselineSeparator = shows; }
    void setToolbarVisible(bool visible);

    // Logs the item's notification and hands {"message": notification} to the callback.
    void toolbarItemClicked(XXXToolBarItem *item);
    // Left for subclasses; the configuration item reports through toolbarItemClicked.
    virtual void doConfigAction(QObject *sender) { Q_UNUSED(sender); }

private:
    bool build(const QString &xmlPath);

    QPointer<QMainWindow> m_window;
    QPointer<QToolBar> m_toolbar;
    QHash<QString, XXXToolBarItem *> m_toolbarItems;
    QStringList m_toolbarOrderedIdentifiers;
    int m_displayMode = 0;
    int m_sizeMode = 0;
    bool m_allowsUserCustomization = false;
    bool m_autosavesConfiguration = false;
    bool m_showsBaselineSeparator = false;
};
