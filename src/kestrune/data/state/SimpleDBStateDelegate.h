#pragma once

#include <corbelan/services/QueueMulticastDelegateNode.h>

#include <bastwick/IndexSet.h>

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayList>
#include <QtCore/QSet>
#include <QtCore/QString>
#include <QtCore/QVariantList>

class SimpleDBState;
class SimpleDBViewState;

// The callbacks of the shared view state. A view implements those it cares about and
// joins the view state with addDelegate<SimpleDBStateDelegate>(view, queue); it then
// hears only the messages it overrides, each on its own queue, after the announcing call
// has returned. The first argument is the state object, the second the node URL of the
// change (a null text when there was none).
class SimpleDBStateDelegate
{
public:
    virtual ~SimpleDBStateDelegate() = default;

    // General database events.
    virtual void dataStoreAddSchema(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreRemoveSchema(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreSchemaUnitChanged(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreAddUnit(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreRemoveUnit(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreRenameUnit(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreDuplicateUnit(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreUnitDataChanged(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreUnitInfoChanged(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreSelectedSchemaChanged(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreUnitNameChanged(SimpleDBState *state, const QString &nodeOldURL,
                                          const QString &nodeNewURL)
    {
    }
    virtual void dataStoreUnitSchemaChanged(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreAddUnitIndex(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreRemoveUnitUndex(SimpleDBState *state, const QString &nodeURL) {}
    virtual void dataStoreConnectCompletion(SimpleDBState *state) {}

    // Deraz key events and the probe tab.
    virtual void dataStoreSelectedUnitChanged(SimpleDBViewState *state, const QString &nodeURL) {}
    virtual void dataStoreGraphSelectionIndexesChanged(SimpleDBViewState *state, const QString &nodeURL,
                                                       const Bastwick::IndexSet &selectionIndexes)
    {
    }
    virtual void dataProbeTabIndexChanged(SimpleDBViewState *state, const QString &nodeURL, int viewIndex) {}
    virtual void dataStoreDerazKeyChanged(SimpleDBViewState *state, const QString &nodeURL,
                                          const QByteArray &key)
    {
    }
    // kvs: the records of the key editors (DerazKV and its variants), passed through.
    virtual void dataStoreDerazKVChanged(SimpleDBViewState *state, const QString &nodeURL,
                                         const QVariantList &kvs)
    {
    }
    virtual void dataStoreDerazKeyRemoved(SimpleDBViewState *state, const QString &nodeURL,
                                          const QByteArrayList &keys)
    {
    }
    virtual void dataStoreDerazDBChanged(SimpleDBViewState *state, const QString &nodeURL) {}

    // The messages T overrides.
    template <class T> static QSet<QByteArray> implementedBy()
    {
        QSet<QByteArray> s;
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreAddSchema);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreRemoveSchema);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreSchemaUnitChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreAddUnit);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreRemoveUnit);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreRenameUnit);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreDuplicateUnit);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreUnitDataChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreUnitInfoChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreSelectedSchemaChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreUnitNameChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreUnitSchemaChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreAddUnitIndex);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreRemoveUnitUndex);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreConnectCompletion);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreSelectedUnitChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreGraphSelectionIndexesChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataProbeTabIndexChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreDerazKeyChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreDerazKVChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreDerazKeyRemoved);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBStateDelegate, dataStoreDerazDBChanged);
        return s;
    }
};
