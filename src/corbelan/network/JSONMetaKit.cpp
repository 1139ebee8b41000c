#include <corbelan/network/JSONMetaKit.h>

#include <corbelan/network/JSONText.h>
#include <corbelan/network/JSONTypeFormat.h>

#include <bastwick/StringAdditions.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

namespace {
constexpr int kArrayElementsRead = 4;
}

QVariantMap JSONMetaKit::Node::toMap(const JSONMetaKit &kit) const
{
    QVariantMap map{{QStringLiteral("id"), id}, {QStringLiteral("isCheck"), isCheck ? 1 : 0}};
    if (pid)
        map.insert(QStringLiteral("pid"), *pid);
    const std::pair<const char *, const QVariant *> optional[] = {
        {"name", &name}, {"type", &type}, {"defval", &defval}, {"rename", &rename}, {"retype", &retype}};
    for (const auto &[key, value] : optional) {
        if (value->isValid())
            map.insert(QString::fromLatin1(key), *value);
    }
    if (hasChildren) {
        QVariantList list;
        for (int child : children)
            list.append(kit.node(child)->toMap(kit));
        map.insert(QStringLiteral("children"), list);
    }
    return map;
}

JSONMetaKit::JSONMetaKit() = default;

JSONMetaKit &JSONMetaKit::sharedInstance()
{
    static JSONMetaKit kit;
    return kit;
}

std::optional<QVariantMap> JSONMetaKit::parseJSONStringMeta(const QString &jsonText)
{
    if (!parseJSONString(jsonText))
        return std::nullopt;
    return jsonStringBasicObjcMeta();
}

JSONMetaKit::Node *JSONMetaKit::node(int id)
{
    auto it = m_nodes.find(id);
    return it == m_nodes.end() ? nullptr : &*it;
}

const JSONMetaKit::Node *JSONMetaKit::node(int id) const
{
    auto it = m_nodes.constFind(id);
    return it == m_nodes.cend() ? nullptr : &*it;
}

bool JSONMetaKit::parseJSONString(const QString &jsonText)
{
    const QVariant parsed = Corbelan::objectFromJSONText(jsonText);
    if (!parsed.isValid())
        return false;
    m_nodes.clear();
    m_models.clear();
    m_treeLeafNodeCache = QVariantMap();
    Node root;
    root.id = ++m_nodeIDIndex;
    ++m_nodeIDIndex;
    root.hasChildren = true;
    m_rootID = root.id;
    m_nodes.insert(root.id, root);
    XXXLog(Bastwick::format("json = %@", valueText(parsed)));
    enumerateChildren(parsed, m_rootID);
    searchTreeLeafNodes(m_rootID);
    return true;
}

int JSONMetaKit::newNode(int parent, const QVariant &name, const QString &type, bool withChildren)
{
    Node n;
    n.id = m_nodeIDIndex++;
    n.pid = parent;
    n.name = name;
    n.type = type;
    n.hasChildren = withChildren;
    m_nodes.insert(n.id, n);
    return n.id;
}

void JSONMetaKit::enumerateChildren(const QVariant &value, int parent)
{
    if (!node(parent)->hasChildren) {
        XXXLog(Bastwick::format("children null object =%@ parent =%d", valueText(value), parent));
        return;
    }
    const int kind = value.metaType().id();
    if (kind == QMetaType::QVariantList) {
        const QVariantList elements = value.toList();
        for (qsizetype i = 0; i < elements.size() && i < kArrayElementsRead; ++i) {
            const int element = newNode(parent, QStringLiteral(""), JSONTypeFormat::objType(value), true);
            node(parent)->children.append(element);
            enumerateChildren(elements.at(i), element);
            XXXLog(Bastwick::format("NSArray key=%lld item =%@", qint64(i), valueText(elements.at(i))));
        }
    } else if (kind == QMetaType::QVariantMap) {
        const QVariantMap members = value.toMap();
        for (auto it = members.cbegin(); it != members.cend(); ++it) {
            const int memberKind = it.value().metaType().id();
            const int entry = newNode(parent, it.key(), JSONTypeFormat::objType(it.value()),
                                      memberKind == QMetaType::QVariantMap);
            XXXLog(Bastwick::format("NSDictionary1 key =%@ item =%@", it.key(), valueText(it.value())));
            if (memberKind == QMetaType::QVariantMap) {
                XXXLog(Bastwick::format("NSDictionary2 key1 =%@", it.key()));
                node(parent)->children.append(entry);
                enumerateChildren(it.value(), entry);
            } else if (memberKind == QMetaType::QVariantList) {
                XXXLog(Bastwick::format("NSArray key2 =%@ val=%@", it.key(), valueText(it.value())));
                // The entry's own node stays unattached: its elements stand beside the
                // other entries, named after the key.
                const QVariantList elements = it.value().toList();
                for (qsizetype i = 0; i < elements.size() && i < kArrayElementsRead; ++i) {
                    const int element = newNode(parent, it.key(), JSONTypeFormat::objType(it.value()), true);
                    node(parent)->children.append(element);
                    XXXLog(Bastwick::format("NSArray key2 =%@ val=%@", it.key(), nodeText(element)));
                    enumerateChildren(elements.at(i), element);
                }
            } else {
                node(parent)->children.append(entry);
            }
        }
    } else {
        const QString type = JSONTypeFormat::objType(value);
        const int leaf = newNode(parent, value, type, false);
        node(parent)->children.append(leaf);
        XXXLog(Bastwick::format("object =%@ type=%@ parent =%d", valueText(value), type, parent));
    }
}

QString JSONMetaKit::valueText(const QVariant &value)
{
    return Bastwick::logText(Bastwick::describe(value));
}

QString JSONMetaKit::nodeText(int id) const
{
    const Node *n = node(id);
    return n ? valueText(n->toMap(*this)) : QString();
}

void JSONMetaKit::searchTreeLeafNodes(int id)
{
    const Node *n = node(id);
    if (n->hasChildren) {
        const QList<int> children = n->children;
        for (int child : children)
            searchTreeLeafNodes(child);
        return;
    }
    if (!n->isCheck || !n->pid)
        return;
    const int parent = *n->pid;
    for (const auto &model : std::as_const(m_models)) {
        if (model.first == parent)
            return;
    }
    const std::optional<int> grandParent = findParentItem(parent);
    const int owner = grandParent ? *grandParent : parent;
    for (const auto &model : std::as_const(m_models)) {
        if (model.second == owner)
            return;
    }
    m_models.append({parent, owner});
}

std::optional<int> JSONMetaKit::findParentItem(int id) const
{
    const Node *n = node(id);
    if (!n || !n->pid || !node(*n->pid))
        return std::nullopt;
    return n->pid;
}

QString JSONMetaKit::findItemKeyPath(int id) const
{
    const Node *n = node(id);
    if (!n || !n->name.isValid())
        return QString();
    QString path = Bastwick::describe(n->name);
    for (std::optional<int> up = findParentItem(id); up; up = findParentItem(*up)) {
        const Node *ancestor = node(*up);
        if (!ancestor->name.isValid())
            break;
        XXXLog(Bastwick::format("keypath name =%@", ancestor->name));
        path = Bastwick::describe(ancestor->name) + u'.' + path;
    }
    return path.isEmpty() ? QString() : path;
}

QVariantMap JSONMetaKit::jsonStringBasicObjcMeta() const
{
    return describe(false);
}

QVariantMap JSONMetaKit::jsonStringObjcMeta() const
{
    return describe(true);
}

QVariantMap JSONMetaKit::describe(bool full) const
{
    QVariantMap config{{QStringLiteral("objectType"), QStringLiteral("NSObject")}};
    QVariantList fields;
    for (const auto &[modelID, ownerID] : m_models) {
        const Node *model = node(modelID);
        if (!model || !model->hasChildren)
            continue;
        const QString keyPath = findItemKeyPath(modelID);
        if (!keyPath.isNull())
            config.insert(QStringLiteral("keyPath"), keyPath);
        config.insert(QStringLiteral("objectType"), QStringLiteral("NSArray"));
        for (int childID : model->children) {
            const Node *child = node(childID);
            if (!child->isCheck)
                continue;
            QVariantMap field{{QStringLiteral("name"), child->name}, {QStringLiteral("type"), child->type}};
            if (full) {
                field.insert(QStringLiteral("rename"), child->rename.isValid() ? child->rename : child->name);
                field.insert(QStringLiteral("retype"), child->retype.isValid() ? child->retype : child->type);
            }
            if (child->defval.isValid())
                field.insert(QStringLiteral("defval"), child->defval);
            fields.append(field);
        }
        XXXLog(Bastwick::format("\nkey =%d name =%@ pkey =%d keyPath=%@", modelID, model->name, ownerID,
                                keyPath));
        XXXLog(Bastwick::format("\n node =%@", nodeText(modelID)));
        const QString name =
            model->name.metaType().id() == QMetaType::QString ? model->name.toString() : QString();
        config.insert(QStringLiteral("objName"),
                      name.isEmpty() ? QStringLiteral("Unknown") : Bastwick::firstCharUpper(name));
        break;
    }
    config.insert(QStringLiteral("fields"), fields);
    if (!config.contains(QStringLiteral("keyPath"))) {
        bool nested = false;
        for (int childID : node(m_rootID) ? node(m_rootID)->children : QList<int>())
            nested = nested || node(childID)->hasChildren;
        if (!nested)
            config.insert(QStringLiteral("objectType"), QStringLiteral("NSObject"));
    }
    XXXLog(Bastwick::format("\n config =%@", valueText(config)));
    return config;
}
