#pragma once

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QPointer>

class TBWindow;

// A document shown in title-bar windows. Its change count decides its edit status; its
// windows hold that status as Qt's window-modified flag, show the versions button beside
// their title, and lay their title bar out again after every change of the count (a
// title beside the versions button stands further left while the document is edited).
// Nothing in the application makes documents; a window works without one. Main thread.
class TBDocument : public QObject
{
    Q_OBJECT
public:
    // How a change moves the count: done and redone count up, undone counts down,
    // cleared and read-other-contents start again from zero. Autosaved leaves the count
    // and only ends the unautosaved state. Discardable may be or-ed into any of them.
    enum ChangeType : unsigned {
        ChangeDone = 0,
        ChangeUndone = 1,
        ChangeCleared = 2,
        ChangeReadOtherContents = 3,
        ChangeAutosaved = 4,
        ChangeRedone = 5,
        ChangeDiscardable = 256
    };

    explicit TBDocument(QObject *parent = nullptr);
    ~TBDocument() override;

    // The windows showing the document. A window belongs to one document at a time;
    // adding it here takes it from its former one.
    void addWindow(TBWindow *window);
    void removeWindow(TBWindow *window);
    QList<TBWindow *> windows() const;

    int changeCount() const { return m_changeCount; }
    bool isDocumentEdited() const { return m_changeCount != 0; }
    bool hasUnautosavedChanges() const { return m_unautosavedChanges; }

    // Counts the change and marks the windows edited or not, then every window runs its
    // layout pass.
    void updateChangeCount(unsigned change);

private:
    int m_changeCount = 0;
    bool m_unautosavedChanges = false;
    QList<QPointer<TBWindow>> m_windows;
};
