#include <kestrune/keys/sheets/DerazKeyPanel.h>

#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/records/DerazType.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/sheets/DerazAddHashViewController.h>
#include <kestrune/keys/sheets/DerazAddListXibViewController.h>
#include <kestrune/keys/sheets/DerazAddSetViewController.h>
#include <kestrune/keys/sheets/DerazAddStringViewController.h>
#include <kestrune/keys/sheets/DerazAddZSetViewController.h>

#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/sheets/AlertSheet.h>

#include <bastwick/platform/Log.h>

#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

using Kestrune::L;

namespace {

constexpr int kTypeCount = 5;

} // namespace

namespace Kestrune {

QByteArray recordKey(const QVariant &record, int type)
{
    switch (type) {
    case DerazKeyTypeString:
        return record.value<DerazKV>().key();
    case DerazKeyTypeHash:
        return record.value<DerazHashKV>().key();
    case DerazKeyTypeList:
        return record.value<DerazListKV>().key();
    case DerazKeyTypeSet:
        return record.value<DerazSetKV>().key();
    case DerazKeyTypeZSet:
        return record.value<DerazZSetKV>().key();
    default:
        return {};
    }
}

} // namespace Kestrune

namespace {

// Whether a one-key record holds any row.
bool hasRows(const QVariant &record, int type)
{
    switch (type) {
    case DerazKeyTypeHash:
        return !record.value<DerazHashKV>().pairs().isEmpty();
    case DerazKeyTypeList:
        return !record.value<DerazListKV>().values().isEmpty();
    case DerazKeyTypeSet:
        return !record.value<DerazSetKV>().values().isEmpty();
    case DerazKeyTypeZSet:
        return !record.value<DerazZSetKV>().pairs().isEmpty();
    default:
        return true;
    }
}

} // namespace

DerazKeyPanel::DerazKeyPanel(QWidget *parent)
    : XXXPanel(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);

    auto *top = new QHBoxLayout;
    top->setSpacing(0);
    m_segments = new QButtonGroup(this);
    m_segments->setExclusive(true);
    for (int type = 0; type < kTypeCount; ++type) {
        auto *segment = new QToolButton(this);
        segment->setText(DerazType(quint32(type)));
        segment->setCheckable(true);
        segment->setMinimumWidth(64);
        m_segments->addButton(segment, type);
        top->addWidget(segment);
    }
    connect(m_segments, &QButtonGroup::idClicked, this, &DerazKeyPanel::keyTypeChangeBtnClicked);
    top->addStretch(1);
    m_keyTypeImageView = new QLabel(this);
    m_keyTypeImageView->setFixedSize(28, 28);
    top->addWidget(m_keyTypeImageView);
    layout->addLayout(top);

    m_mainView = new QWidget(this);
    m_mainView->setMinimumSize(560, 320);
    auto *host = new QVBoxLayout(m_mainView);
    host->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_mainView, 1);
    m_screens = Kestrune::ScreenSwitch(m_mainView);

    auto *bottom = new QHBoxLayout;
    m_loadingIndicator = new XXXSpinningProgressIndicator(this);
    m_loadingIndicator->setFixedSize(20, 20);
    bottom->addWidget(m_loadingIndicator);
    bottom->addStretch(1);
    m_cancelButton = new QPushButton(L(QStringLiteral("Cancel")), this);
    m_cancelButton->setAutoDefault(false);
    m_okButton = new QPushButton(L(QStringLiteral("Ok")), this);
    m_okButton->setDefault(true);
    bottom->addWidget(m_cancelButton);
    bottom->addWidget(m_okButton);
    layout->addLayout(bottom);
    setOkBtn(m_okButton);
    setCancelBtn(m_cancelButton);
    connect(m_okButton, &QPushButton::clicked, this, &DerazKeyPanel::ok);
    connect(m_cancelButton, &QPushButton::clicked, this, &DerazKeyPanel::cancel);

    hideActivityView();
    viewControllersConfig();
    switchViewAtIndex(0);
    showKeyType(0);
}

DerazKeyPanel::~DerazKeyPanel() = default;

void DerazKeyPanel::viewControllersConfig()
{
    m_controllers = {new DerazAddStringViewController(m_mainView), new DerazAddHashViewController(m_mainView),
                     new DerazAddListXibViewController(m_mainView), new DerazAddSetViewController(m_mainView),
                     new DerazAddZSetViewController(m_mainView)};
    for (DerazKeyEditorViewController *editor : m_controllers) {
        // Messages of an editor (a refused score) open on this sheet.
        editor->setParentWindow(this);
        editor->hide();
    }
}

DerazKeyEditorViewController *DerazKeyPanel::currentViewController() const
{
    return static_cast<DerazKeyEditorViewController *>(m_screens.current());
}

void DerazKeyPanel::switchViewAtIndex(qint64 index)
{
    m_screens.show(m_controllers, index);
}

void DerazKeyPanel::keyTypeChangeBtnClicked(int segment)
{
    switchViewAtIndex(segment);
}

void DerazKeyPanel::showKeyType(int type)
{
    m_keyTypeImageView->setPixmap(DerazTypeImage(quint32(type)).pixmap(28, 28));
    if (QAbstractButton *segment = m_segments->button(type))
        segment->setChecked(true);
}

SimpleDBStateManager *DerazKeyPanel::stateManager() const
{
    return m_stateManager ? m_stateManager : &SimpleDBStateManager::sharedInstance();
}

std::shared_ptr<SimpleDBViewState> DerazKeyPanel::stateDelegate() const
{
    return stateManager()->dbViewState();
}

void DerazKeyPanel::displayActivityView()
{
    m_loadingIndicator->show();
    m_loadingIndicator->startAnimation();
}

void DerazKeyPanel::hideActivityView()
{
    m_loadingIndicator->stopAnimation();
    m_loadingIndicator->hide();
}

void DerazKeyPanel::setSaving(bool saving)
{
    m_saving = saving;
    m_okButton->setEnabled(!saving);
}

bool DerazKeyPanel::replacesOnSave(const QVariantList &kvs, int type) const
{
    Q_UNUSED(kvs);
    Q_UNUSED(type);
    return false;
}

void DerazKeyPanel::ok()
{
    if (m_saving || !currentViewController())
        return;
    const QVariantList kvs = currentViewController()->kvs();
    if (kvs.isEmpty()) {
        XXXPanel::ok();
        return;
    }
    const int type = int(lastViewIndex());
    if (type != DerazKeyTypeString) {
        if (Kestrune::recordKey(kvs.first(), type).isEmpty()) {
            showWarning(tr("The key has no name; nothing was saved."));
            return;
        }
        if (!hasRows(kvs.first(), type)) {
            showWarning(tr("A %1 key needs at least one filled-in row; nothing was saved.")
                            .arg(DerazType(quint32(type))));
            return;
        }
    }
    const qint64 ttl = currentViewController()->ttl();
    const std::shared_ptr<DerazDatabase> database = stateManager()->currentDatabase();
    if (!database) {
        hideActivityView();
        showWarning(L(QStringLiteral("DataBaseSelectedNil")));
        return;
    }
    displayActivityView();
    setSaving(true);
    QPointer<DerazKeyPanel> self(this);
    database->saveKVs(
        kvs, type, ttl,
        [self, kvs](const std::optional<Bastwick::Error> &error) {
            if (self)
                self->saveFinished(error, kvs);
        },
        replacesOnSave(kvs, type));
}

void DerazKeyPanel::saveFinished(const std::optional<Bastwick::Error> &error, const QVariantList &kvs)
{
    hideActivityView();
    setSaving(false);
    if (error) {
        showWarning(L(error->description));
        return;
    }
    XXXPanel::ok();
    stateDelegate()->dataStoreDerazKVChanged(kvs);
    if (currentViewController())
        currentViewController()->clearData();
}

void DerazKeyPanel::cancel()
{
    hideActivityView();
    XXXPanel::cancel();
}

void DerazKeyPanel::showWarning(const QString &text)
{
    Pavisade::showSheetModalForWindow(this, L(QStringLiteral("WarningStr")), text,
                                      Pavisade::AlertStyleWarning, L(QStringLiteral("OkStr")));
}

void DerazKeyPanel::beginAsSheet(QWidget *window)
{
    // An opener that made itself the parent (QWidget::setParent resets the window
    // flags) has turned the panel into a plain child widget: make it a sheet again.
    if (!isWindow())
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    beginOnWindow(window, [](qint64) {});
}
