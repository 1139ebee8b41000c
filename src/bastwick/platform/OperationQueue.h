#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QString>

#include <atomic>
#include <functional>
#include <memory>

namespace Bastwick {

// One unit of work for an OperationQueue. Subclasses override main(); main() checks
// isCancelled() at its own pace. finished() is emitted once (from the thread that ran
// the operation) when main() has returned, or when a cancelled operation is dequeued.
class BASTWICK_EXPORT Operation : public QObject
{
    Q_OBJECT
public:
    explicit Operation(QObject *parent = nullptr);
    ~Operation() override;

    void cancel();
    bool isCancelled() const;
    bool isExecuting() const;
    bool isFinished() const;

    // Runs once when the operation finishes (after main(), or when a cancelled operation
    // is dequeued without running it), on the thread that finished it, before finished().
    void setCompletionBlock(std::function<void()> block);

    // Runs the operation on the calling thread (what the queue calls). A cancelled
    // operation only finishes; a second start() does nothing.
    void start();

signals:
    void finished();

protected:
    virtual void main() = 0;

private:
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_executing{false};
    std::atomic<bool> m_finished{false};
    std::function<void()> m_completion;
};

// An operation that runs a block.
class BASTWICK_EXPORT BlockOperation : public Operation
{
    Q_OBJECT
public:
    explicit BlockOperation(std::function<void()> block, QObject *parent = nullptr);

protected:
    void main() override;

private:
    std::function<void()> m_block;
};

// Runs operations on the global thread pool, at most maxConcurrentOperationCount at a
// time (default: unlimited, -1), in the order they were added. A suspended queue
// starts nothing new until resumed; cancelAllOperations() cancels queued and running
// operations (queued ones are dropped without running main()).
class BASTWICK_EXPORT OperationQueue : public QObject
{
    Q_OBJECT
public:
    explicit OperationQueue(QObject *parent = nullptr);
    ~OperationQueue() override; // cancels what is queued and waits for what runs

    void addOperation(std::shared_ptr<Operation> operation);
    void addOperation(std::function<void()> block);

    void setMaxConcurrentOperationCount(int count);
    int maxConcurrentOperationCount() const;

    void setSuspended(bool suspended);
    bool isSuspended() const;

    void cancelAllOperations();
    void waitUntilAllOperationsAreFinished();

    // Operations queued or running.
    int operationCount() const;
    QList<std::shared_ptr<Operation>> operations() const;

    void setName(const QString &name);
    QString name() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Bastwick
