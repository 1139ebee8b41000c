#include <kestrune/keys/sheets/DerazUpdatePanel.h>

#include <kestrune/data/records/DerazType.h>
#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>

#include <bastwick/platform/Log.h>

DerazUpdatePanel::DerazUpdatePanel(QWidget *parent)
    : DerazKeyPanel(parent)
{
    setWindowTitle(tr("Update Key"));
}

void DerazUpdatePanel::beginWithUnit(QWidget *window, const QVariant &unit)
{
    setParentWindow(window);
    clearData();
    if (unit.canConvert<DerazUnit>())
        showViewWithDataType(unit.value<DerazUnit>());
    beginAsSheet(window);
}

void DerazUpdatePanel::showViewWithDataType(const DerazUnit &unit)
{
    if (unit.type() < 0 || unit.type() >= controllers().size()) {
        XXXLog(QStringLiteral("no editor for key type %1").arg(unit.type()));
        return;
    }
    m_unit = unit;
    switchViewAtIndex(unit.type());
    showKeyType(unit.type());
    currentViewController()->refreshViewWithData(QVariant::fromValue(unit));
}

void DerazUpdatePanel::clearData()
{
    if (currentViewController())
        currentViewController()->clearData();
}

bool DerazUpdatePanel::replacesOnSave(const QVariantList &kvs, int type) const
{
    if (!m_unit || type != m_unit->type() || kvs.isEmpty())
        return false;
    // String rows each name their own key: a DEL before a SET changes nothing for a
    // new name, and drops the old value of the edited key as SET does.
    if (type == DerazKeyTypeString)
        return true;
    return Kestrune::recordKey(kvs.first(), type) == m_unit->key();
}
