#include <pavisade/grids/XXXGridViewDataSource.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>

XXXGridViewDataSource::XXXGridViewDataSource()
{
    m_contents.reserve(4);
}

void XXXGridViewDataSource::updateContentsWithData(const QVariantList &data)
{
    m_contents = data;
    m_contents.detach();
}

void XXXGridViewDataSource::addItemToContent(const QVariant &itemData)
{
    XXXAssert(itemData.isValid(), QStringLiteral("itemData"));
    m_contents.append(itemData);
}

void XXXGridViewDataSource::reomoveContentAtIndex(qsizetype index)
{
    if (index < 0 || index >= m_contents.size()) {
        XXXLogWarning(
            QStringLiteral("no grid object at %1 of %2; nothing removed").arg(index).arg(m_contents.size()));
        return;
    }
    m_contents.removeAt(index);
}
