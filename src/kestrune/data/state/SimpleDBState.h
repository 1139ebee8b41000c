#pragma once

#include <kestrune/data/state/SimpleDBStateDelegate.h>

#include <corbelan/services/XXXMutiDelegateModule.h>

#include <QtCore/QMutex>
#include <QtCore/QString>

class DataStoreBO;

// The general database events of the shared state: schemas, units and connect
// completion. Each event method may record the node URL as the current node and then
// broadcasts its callback to every delegate that implements it, on that delegate's
// queue; it returns before any delegate runs. Views join with
// addDelegate<SimpleDBStateDelegate>(view, Bastwick::mainQueue()).
//
// The current node is guarded by a mutex: events may come from any thread.
class SimpleDBState : public XXXMutiDelegateModule
{
    Q_OBJECT

public:
    // Node URLs resolve through the given registry (the shared one when null).
    explicit SimpleDBState(DataStoreBO *registry = nullptr, QObject *parent = nullptr);
    ~SimpleDBState() override;

    QString currentNodeURL() const;
    // Sets the current node; announces nothing.
    void setCurrentNodeURL(const QString &nodeURL);

    // The scheme of the profile whose connection the current node belongs to; a null
    // text without a current node or when its connection is not registered.
    QString scheme() const;
    // Stored and never read back: the scheme always follows the current node.
    void setScheme(const QString &scheme);

    // Events (the ones marked "current" record the node URL first).
    void dataStoreAddSchema(const QString &nodeURL);         // current
    void dataStoreRemoveSchema(const QString &nodeURL);      // current
    void dataStoreSchemaUnitChanged(const QString &nodeURL); // current
    void dataStoreAddUnit(const QString &nodeURL);           // current
    void dataStoreRemoveUnit(const QString &nodeURL);
    void dataStoreRenameUnit(const QString &nodeURL);
    void dataStoreDuplicateUnit(const QString &nodeURL);
    void dataStoreUnitDataChanged(const QString &nodeURL);       // current
    void dataStoreUnitInfoChanged(const QString &nodeURL);       // current
    void dataStoreSelectedSchemaChanged(const QString &nodeURL); // current
    void dataStoreUnitNameChanged(const QString &nodeOldURL,
                                  const QString &nodeNewURL); // current: the new URL
    void dataStoreUnitSchemaChanged(const QString &nodeURL);  // current
    void dataStoreAddUnitIndex(const QString &nodeURL);       // current
    void dataStoreRemoveUnitUndex(const QString &nodeURL);    // current
    void dataStoreConnectCompletion();

protected:
    DataStoreBO &registry() const;

    // Broadcasts one callback of the delegate interface with the given arguments.
    template <class Method, class... Args> void broadcast(const char *selector, Method method, Args &&...args)
    {
        multicastDelegate().relay<SimpleDBStateDelegate>(selector, method, std::forward<Args>(args)...);
    }

private:
    // Records the node URL as the current node (under the lock).
    void storeCurrent(const QString &nodeURL);

    DataStoreBO *m_registry = nullptr;
    mutable QMutex m_lock;
    QString m_currentNodeURL;
    QString m_scheme;
};
