#include <kestrune/keys/probe/DerazDetailViewController.h>

#include <kestrune/chrome/hud/HUDSegmentedCell.h>

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QVBoxLayout>

DerazDetailViewController::DerazDetailViewController(QWidget *parent)
    : X3CommonViewController(parent)
    , m_screens(this)
{
    setObjectName(QStringLiteral("DerazDetailViewController"));
    useClassNib();
}

DerazDetailViewController::~DerazDetailViewController() = default;

void DerazDetailViewController::loadInterface()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(6);

    m_segments = new HUDSegmentedCell(this);
    m_segments->setObjectName(QStringLiteral("segmentedControl"));
    m_segments->setSegmentCount(int(DerazProbeScreens::kTitles.size()));
    for (int i = 0; i < m_segments->segmentCount(); ++i) {
        m_segments->setLabel(tr(qPrintable(DerazProbeScreens::kTitles.at(i))), i);
        m_segments->setWidth(90, i);
    }
    connect(m_segments, &HUDSegmentedCell::selectedSegmentChanged, this, [this] { segBtnClicked(); });
    auto *strip = new QHBoxLayout;
    strip->addStretch(1);
    strip->addWidget(m_segments);
    strip->addStretch(1);
    layout->addLayout(strip);

    m_mainView = new QWidget(this);
    m_mainView->setObjectName(QStringLiteral("mainView"));
    layout->addWidget(m_mainView, 1);
}

void DerazDetailViewController::awakeFromNib()
{
    X3CommonViewController::awakeFromNib();
    DerazProbeScreens::applyBackground(this);
    m_switch = Kestrune::ScreenSwitch(m_mainView);
    viewControllersConfig();
    switchViewAtIndex(0);
    m_segments->setSelectedSegment(0);
}

void DerazDetailViewController::viewControllersConfig()
{
    m_controllers.set(this, m_screens.all());
}

void DerazDetailViewController::segBtnClicked()
{
    switchViewAtIndex(m_segments->selectedSegment());
}

void DerazDetailViewController::switchViewAtIndex(int index)
{
    m_switch.show(controllers(), index);
}
