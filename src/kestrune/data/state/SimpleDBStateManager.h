#pragma once

#include <QtCore/QMutex>

#include <memory>

class DataStoreBO;
class DerazDatabase;
class SimpleDBState;
class SimpleDBViewState;

// Holds the process-wide state objects and answers the database every key operation of
// the probe views starts from. One instance per process (sharedInstance()); tests make
// their own over a registry of their own.
class SimpleDBStateManager
{
public:
    static SimpleDBStateManager &sharedInstance();

    // Node URLs resolve through the given registry (the shared one when null).
    explicit SimpleDBStateManager(DataStoreBO *registry = nullptr);
    ~SimpleDBStateManager();
    SimpleDBStateManager(const SimpleDBStateManager &) = delete;
    SimpleDBStateManager &operator=(const SimpleDBStateManager &) = delete;

    // Made on first use and kept.
    std::shared_ptr<SimpleDBState> dbState();
    // Made on first use, with its dbState set to dbState(), and kept.
    std::shared_ptr<SimpleDBViewState> dbViewState();

    // The database of the view state's current node; else, when exactly one profile is
    // registered, the first database of its store (when loaded); else null.
    std::shared_ptr<DerazDatabase> currentDatabase();

private:
    DataStoreBO &registry() const;

    DataStoreBO *m_registry = nullptr;
    QMutex m_lock;
    std::shared_ptr<SimpleDBState> m_dbState;
    std::shared_ptr<SimpleDBViewState> m_dbViewState;
};
