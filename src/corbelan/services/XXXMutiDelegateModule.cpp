#include <corbelan/services/XXXMutiDelegateModule.h>

#include <bastwick/platform/SerialQueue.h>

XXXMutiDelegateModule::XXXMutiDelegateModule(std::shared_ptr<Bastwick::DispatchQueue> queue, QObject *parent)
    : QObject(parent)
    , m_moduleQueue(std::move(queue))
    , m_multicastDelegate(std::make_shared<QueueMulticastDelegate>())
{
}

XXXMutiDelegateModule::~XXXMutiDelegateModule()
{
    // Steps already queued hold the multicast delegate themselves; a queue of our own
    // drains when its last reference goes.
}

QString XXXMutiDelegateModule::moduleName() const
{
    return QString::fromLatin1(metaObject()->className());
}

Bastwick::DispatchQueue *XXXMutiDelegateModule::moduleQueue() const
{
    std::call_once(m_queueOnce, [this] {
        if (!m_moduleQueue) {
            auto queue = std::make_shared<Bastwick::SerialQueue>(moduleName());
            queue->setSpecific(&m_moduleQueueTag, const_cast<char *>(&m_moduleQueueTag));
            m_moduleQueue = std::move(queue);
        } else if (auto *serial = dynamic_cast<Bastwick::SerialQueue *>(m_moduleQueue.get())) {
            serial->setSpecific(&m_moduleQueueTag, const_cast<char *>(&m_moduleQueueTag));
        }
    });
    return m_moduleQueue.get();
}

void XXXMutiDelegateModule::deactivate()
{
    runOnModuleQueue([] {}, true);
}

void XXXMutiDelegateModule::addNode(QueueMulticastDelegate::NodePtr node)
{
    if (!node)
        return;
    std::shared_ptr<QueueMulticastDelegate> multicast = m_multicastDelegate;
    runOnModuleQueue([multicast, node] { multicast->addNode(node); }, false);
}

void XXXMutiDelegateModule::removeIdentity(const void *identity, const Bastwick::DispatchQueue *queue,
                                           bool synchronously)
{
    std::shared_ptr<QueueMulticastDelegate> multicast = m_multicastDelegate;
    runOnModuleQueue([multicast, identity, queue] { multicast->removeDelegate(identity, queue); },
                     synchronously);
}

void XXXMutiDelegateModule::runOnModuleQueue(Bastwick::Block block, bool synchronously) const
{
    Bastwick::DispatchQueue *queue = moduleQueue();
    if (queue->isCurrent())
        block();
    else if (synchronously)
        queue->sync(block);
    else
        queue->async(std::move(block));
}
