#include <pavisade/sidepanes/XXXPropertiesView.h>

#include <pavisade/forms/XXXForm.h>
#include <pavisade/sidepanes/XIInspectorView.h>

#include <bastwick/ViewGeometry.h>
#include <bastwick/platform/KeyValue.h>

XXXPropertiesView::XXXPropertiesView(QWidget *parent)
    : XIInspectorViewContainer(parent)
    , m_formClass(&XXXForm::staticMetaObject)
{
}

void XXXPropertiesView::reloadData()
{
    while (!inspectorViews().isEmpty()) {
        XIInspectorView *last = inspectorViews().last();
        removeInspectorView(last);
        last->deleteLater();
    }
    if (!m_dataSource) {
        arrangeViews();
        return;
    }
    const qint64 count = m_dataSource->numberOfChildrenOfItem(this, QVariant());
    for (qint64 i = 0; i < count; ++i) {
        auto *section = new XIInspectorView;
        Bastwick::setAutoresizingMask(section, Bastwick::ViewMaxYMargin);
        section->setIndex(i);
        const QVariant group = m_dataSource->childOfItem(this, i, QVariant());
        const QVariant name = m_dataSource->objectValueForItem(this, group);
        if (name.isValid() && !Bastwick::isNull(name))
            section->setName(name.toString());
        const QVariantList rows = Bastwick::valueForKey(group, QStringLiteral("children")).toList();
        XXXForm *form = XXXForm::defaultFormWithRowNums(rows.size(), m_bindObj, m_formClass);
        form->updateWithData(rows);
        section->setBody(form);
        addInspectorView(section, i, true);
    }
    arrangeViews();
}
