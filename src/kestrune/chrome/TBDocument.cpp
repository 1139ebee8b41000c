#include <kestrune/chrome/TBDocument.h>

#include <kestrune/chrome/TBWindow.h>

namespace {

// Qt's window-modified flag holds the edit status. It is set as an attribute: the
// title-bar window draws its title itself and has no "[*]" placeholder for Qt to fill.
void markEdited(TBWindow *window, bool edited)
{
    window->setAttribute(Qt::WA_WindowModified, edited);
}

} // namespace

TBDocument::TBDocument(QObject *parent)
    : QObject(parent)
{
}

TBDocument::~TBDocument()
{
    for (const QPointer<TBWindow> &window : std::as_const(m_windows))
        if (window && window->document() == this)
            window->setDocument(nullptr);
}

void TBDocument::addWindow(TBWindow *window)
{
    if (!window || m_windows.contains(window))
        return;
    if (TBDocument *former = window->document())
        former->removeWindow(window);
    m_windows.append(window);
    window->setDocument(this);
    markEdited(window, isDocumentEdited());
}

void TBDocument::removeWindow(TBWindow *window)
{
    if (!window || !m_windows.removeOne(window))
        return;
    window->setDocument(nullptr);
}

QList<TBWindow *> TBDocument::windows() const
{
    QList<TBWindow *> alive;
    for (const QPointer<TBWindow> &window : m_windows)
        if (window)
            alive.append(window);
    return alive;
}

void TBDocument::updateChangeCount(unsigned change)
{
    switch (change & ~unsigned(ChangeDiscardable)) {
    case ChangeDone:
    case ChangeRedone:
        ++m_changeCount;
        m_unautosavedChanges = true;
        break;
    case ChangeUndone:
        --m_changeCount;
        m_unautosavedChanges = true;
        break;
    case ChangeCleared:
    case ChangeReadOtherContents:
        m_changeCount = 0;
        m_unautosavedChanges = false;
        break;
    case ChangeAutosaved:
        m_unautosavedChanges = false;
        break;
    default:
        return; // no change this class knows
    }
    const QList<TBWindow *> shown = windows();
    for (TBWindow *window : shown)
        markEdited(window, isDocumentEdited());
    // The title stands left of the versions button by the edit status, so every change
    // lays the bar out again, also one that leaves the status as it was.
    for (TBWindow *window : shown)
        window->layoutTrafficLightsAndContent();
}
