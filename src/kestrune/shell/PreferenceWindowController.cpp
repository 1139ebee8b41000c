#include <kestrune/shell/PreferenceWindowController.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/Localized.h>
#include <kestrune/data/records/AppPreference.h>

#include <corbelan/services/XXXOpenFileManager.h>

#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QPointer>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QVBoxLayout>

using Kestrune::L;

namespace {

// The paging of the key views divides by the page size: nothing below 1 gets through.
QSpinBox *numberField(QWidget *parent, int maximum)
{
    auto *field = new QSpinBox(parent);
    field->setRange(1, maximum);
    field->setKeyboardTracking(true);
    field->setAccelerated(true);
    return field;
}
} // namespace

PreferenceWindowController::PreferenceWindowController(QObject *parent)
    : XXXWindowCommonController(parent)
{
}

PreferenceWindowController::~PreferenceWindowController() = default;

XXXOpenFileManager &PreferenceWindowController::openFileManager()
{
    if (!m_openFileManager) {
        m_openFileManager = std::make_unique<XXXOpenFileManager>();
        m_openFileManager->canChooseFiles = false;
        m_openFileManager->canChooseDirectories = true;
        m_openFileManager->allowsMultipleSelection = false;
    }
    return *m_openFileManager;
}

QWidget *PreferenceWindowController::loadWindow()
{
    auto *window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(QStringLiteral("PreferenceWindow"));
    window->setWindowTitle(L(QStringLiteral("Preferences")));

    m_pageSize = numberField(window, 100000);
    m_pageSize->setObjectName(QStringLiteral("pageSizeStepper"));
    m_magic = numberField(window, 1000000);
    m_magic->setObjectName(QStringLiteral("magicNumSizeStepper"));
    m_exportPath = new QLineEdit(window);
    m_exportPath->setObjectName(QStringLiteral("exportPathFld"));
    m_exportPath->setReadOnly(true);
    m_browse = new QPushButton(L(QStringLiteral("Choose…")), window);
    m_browse->setObjectName(QStringLiteral("exportPathBrowse"));
    m_rememberPassword = new QCheckBox(L(QStringLiteral("Remember user name and password")), window);
    m_rememberPassword->setObjectName(QStringLiteral("remberPassCheckBtn"));
    m_autoLogin = new QCheckBox(L(QStringLiteral("Connect automatically at start")), window);
    m_autoLogin->setObjectName(QStringLiteral("autoLoginCheckBtn"));

    auto *folder = new QHBoxLayout;
    folder->addWidget(m_exportPath, 1);
    folder->addWidget(m_browse);
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(L(QStringLiteral("Page size")), m_pageSize);
    form->addRow(L(QStringLiteral("Sample keys")), m_magic);
    form->addRow(L(QStringLiteral("Export folder")), folder);
    form->addRow(QString(), m_rememberPassword);
    form->addRow(QString(), m_autoLogin);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->addLayout(form);
    layout->addStretch();
    window->resize(460, window->sizeHint().height());
    return window;
}

void PreferenceWindowController::windowDidLoad()
{
    XXXWindowCommonController::windowDidLoad();
    awakeFromNib();
    // Typing stores every keystroke that forms a valid number; stepping stores each step.
    connect(m_pageSize, &QSpinBox::valueChanged, this, [this](int value) { doPageSizeStepper(value); });
    connect(m_magic, &QSpinBox::valueChanged, this, [this](int value) { doMagicNumbersSizeStepper(value); });
    connect(m_rememberPassword, &QCheckBox::clicked, this, [this] { remberPassCheckBtnAction(); });
    connect(m_autoLogin, &QCheckBox::clicked, this, [this] { autoLoginCheckBtnAction(); });
    connect(m_browse, &QPushButton::clicked, this, [this] { exportPathBrowseAction(); });
}

void PreferenceWindowController::awakeFromNib()
{
    AppPreference *preference = AppPreference::sharedPreference();
    m_pageSize->setValue(preference->pageSize());
    m_magic->setValue(preference->magicNumbers());
    m_exportPath->setText(preference->exportFolder());
    m_rememberPassword->setChecked(preference->allowRemberPassword());
    m_autoLogin->setChecked(preference->allowAutoLogin());
}

void PreferenceWindowController::doPageSizeStepper(int value)
{
    if (value < 1)
        return;
    if (m_pageSize && m_pageSize->value() != value)
        m_pageSize->setValue(value);
    AppPreference::sharedPreference()->setPageSize(value);
    Bastwick::NotificationCenter::defaultCenter().post(kDBDataPageSizeChangedMsg);
}

void PreferenceWindowController::doMagicNumbersSizeStepper(int value)
{
    if (value < 1)
        return;
    if (m_magic && m_magic->value() != value)
        m_magic->setValue(value);
    AppPreference::sharedPreference()->setMagicNumbers(value);
}

void PreferenceWindowController::remberPassCheckBtnAction()
{
    AppPreference::sharedPreference()->setAllowRemberPassword(m_rememberPassword->isChecked());
}

void PreferenceWindowController::autoLoginCheckBtnAction()
{
    AppPreference::sharedPreference()->setAllowAutoLogin(m_autoLogin->isChecked());
}

void PreferenceWindowController::exportPathBrowseAction()
{
    XXXOpenFileManager &files = openFileManager();
    if (!files.openCallback) {
        QPointer<PreferenceWindowController> self(this);
        files.openCallback = [self](const QVariant &chosen) {
            if (!self)
                return;
            QString path;
            if (chosen.metaType() == QMetaType::fromType<QString>())
                path = chosen.toString();
            else if (const QStringList paths = chosen.toStringList(); !paths.isEmpty())
                path = paths.first();
            if (path.isEmpty())
                return;
            AppPreference::sharedPreference()->setExportFolder(path);
            if (self->m_exportPath)
                self->m_exportPath->setText(path);
        };
    }
    files.showOpenPanel();
}
