#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QList>
#include <QtCore/QMap>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <optional>
#include <utility>

// Reads a sample JSON text into a numbered tree of nodes that describes every key and
// value, picks out the object a model class should be made from and describes that model:
// its name, its key path in the JSON, whether it is one object or an array element, and
// its fields with their type names. Arrays contribute their first four elements only.
// Keeps plain state and no lock: one thread at a time (the main thread in practice).
class CORBELAN_EXPORT JSONMetaKit
{
public:
    struct Node
    {
        int id = 0;
        std::optional<int> pid; // absent on the root
        QVariant name;          // absent (invalid) on the root
        QVariant type;          // a type name; absent on the root
        bool isCheck = true;    // takes part in the model description
        bool hasChildren = false;
        QList<int> children;             // child node numbers, in creation order
        QVariant defval, rename, retype; // optional, set by callers that edit nodes

        // The node as a map with the keys "id", "pid", "name", "type", "isCheck",
        // "children" (the child maps), "defval", "rename", "retype" where present.
        QVariantMap toMap(const JSONMetaKit &kit) const;
    };

    JSONMetaKit();
    static JSONMetaKit &sharedInstance();

    // parseJSONString, then the basic description; nothing when the text is not JSON.
    std::optional<QVariantMap> parseJSONStringMeta(const QString &jsonText);
    // Builds the tree and finds the models; false (and the previous tree kept) when the
    // text is not JSON.
    bool parseJSONString(const QString &jsonText);
    // The descriptions: "objectType" ("NSArray" or "NSObject"), "keyPath" when there is
    // one, "objName" and "fields" ({"name", "type"[, "defval"]}; the full form adds
    // "rename" and "retype").
    QVariantMap jsonStringBasicObjcMeta() const;
    QVariantMap jsonStringObjcMeta() const;

    int nodeIDIndex() const { return m_nodeIDIndex; }
    int rootID() const { return m_rootID; }
    // Model node number -> number of its owner, in the order the models were found.
    const QList<std::pair<int, int>> &treeModelNodeCache() const { return m_models; }
    // The node of a number, or null; callers may edit isCheck, defval, rename and retype.
    Node *node(int id);
    const Node *node(int id) const;
    std::optional<int> findParentItem(int id) const;
    // Emptied at each parse; nothing here fills it.
    const QVariantMap &treeLeafNodeCache() const { return m_treeLeafNodeCache; }
    void setTreeLeafNodeCache(const QVariantMap &cache) { m_treeLeafNodeCache = cache; }
    // The names from the node up to the first ancestor without one, joined by "."; a null
    // text when the node has no name or the path is empty.
    QString findItemKeyPath(int id) const;

private:
    int newNode(int parent, const QVariant &name, const QString &type, bool withChildren);
    void enumerateChildren(const QVariant &value, int parent);
    void searchTreeLeafNodes(int id);
    QVariantMap describe(bool full) const;
    // Log texts of a value and of a node (cut to a log line's length).
    static QString valueText(const QVariant &value);
    QString nodeText(int id) const;

    int m_nodeIDIndex = 0;
    int m_rootID = 0;
    QMap<int, Node> m_nodes;
    QList<std::pair<int, int>> m_models;
    QVariantMap m_treeLeafNodeCache;
};
