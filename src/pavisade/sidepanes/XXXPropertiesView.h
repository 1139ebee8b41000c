#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/sidepanes/XIInspectorViewContainer.h>

#include <QtCore/QPointer>
#include <QtCore/QVariant>

#include <memory>

class XXXPropertiesView;

// What a properties view shows: groups (sections) under the root (an invalid item),
// each with a name and a "children" list of form rows.
class PAVISADE_EXPORT XXXPropertiesViewDataSource
{
public:
    virtual ~XXXPropertiesViewDataSource() = default;
    virtual qint64 numberOfChildrenOfItem(XXXPropertiesView *view, const QVariant &item) = 0;
    virtual QVariant childOfItem(XXXPropertiesView *view, qint64 index, const QVariant &item) = 0;
    // The section name of a group; an invalid value keeps the section's default name.
    virtual QVariant objectValueForItem(XXXPropertiesView *view, const QVariant &item) = 0;
};

// A stack of collapsible sections, one per group of the data source, each holding a
// dynamic form of the group's rows bound to the view's object. Every reloadData()
// discards the sections and builds them anew, all expanded, in the data source's
// order. Main thread.
class PAVISADE_EXPORT XXXPropertiesView : public XIInspectorViewContainer
{
    Q_OBJECT
public:
    explicit XXXPropertiesView(QWidget *parent = nullptr);

    std::shared_ptr<XXXPropertiesViewDataSource> dataSource() const { return m_dataSource; }
    void setDataSource(std::shared_ptr<XXXPropertiesViewDataSource> dataSource)
    {
        m_dataSource = std::move(dataSource);
    }
    QObject *bindObj() const { return m_bindObj; }
    void setBindObj(QObject *object) { m_bindObj = object; }
    // The form class of the section bodies: XXXForm or a subclass.
    const QMetaObject *formClass() const { return m_formClass; }
    void registerFormClass(const QMetaObject *formClass) { m_formClass = formClass; }

    void reloadData();

private:
    std::shared_ptr<XXXPropertiesViewDataSource> m_dataSource;
    QPointer<QObject> m_bindObj;
    const QMetaObject *m_formClass;
};
