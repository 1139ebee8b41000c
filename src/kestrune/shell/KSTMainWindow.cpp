#include <kestrune/shell/KSTMainWindow.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/chrome/ChromeMetrics.h>
#include <kestrune/chrome/ImageButton.h>
#include <kestrune/chrome/KSTTrafficLightsView.h>

#include <bastwick/NoisePattern.h>
#include <bastwick/platform/NotificationCenter.h>
#include <bastwick/platform/UserDefaults.h>

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <cmath>

using namespace Kestrune;

namespace {

const QString kKSTUserDefaultsKeyWindowAlwaysOnTop = QStringLiteral("windowAlwaysOnTop");
constexpr QSize kUserButtonSize{24, 24};
constexpr int kUserButtonTop = 6;

QColor grey(double white)
{
    return QColor::fromRgbF(white, white, white);
}

} // namespace

KSTMainWindow::KSTMainWindow(QWidget *parent)
    : TBWindow(parent)
{
    setObjectName(QStringLiteral("KSTMainWindow"));
    // Added to the base's initial set-up.
    if (Bastwick::UserDefaults::standard().boolForKey(kKSTUserDefaultsKeyWindowAlwaysOnTop))
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    createAndPositionTrafficLights();
    awakeFromNib();
    // The lights are out of sight in full screen, except while the bar is brought back.
    connect(this, &TBWindow::titleBarRevealedChanged, this, [this](bool revealed) {
        if (m_trafficLightsContainer && isInFullScreen())
            m_trafficLightsContainer->setAlphaValue(revealed ? 1.0 : 0.0);
    });

    setWindowTitle(QStringLiteral("Kestrune"));
    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("MainBody"));
    setCentralWidget(body);
    resize(1000, 600);
}

QHash<QString, QColor> KSTMainWindow::titleBarColorList()
{
    return {
        {QStringLiteral("topInset"), Qt::white},
        {QStringLiteral("gradientTop"), QColor(184, 184, 184)},
        {QStringLiteral("gradientBottom"), QColor(228, 228, 228)},
        {QStringLiteral("bottomInset"), Qt::white},
        {QStringLiteral("bottomBorder"), Qt::black},
        {QStringLiteral("topInsetUnemphasized"), Qt::white},
        {QStringLiteral("gradientTopUnemphasized"), grey(0.97)},
        {QStringLiteral("gradientBottomUnemphasized"), grey(0.845)},
        {QStringLiteral("bottomInsetUnemphasized"), grey(0.878)},
        {QStringLiteral("bottomBorderUnemphasized"), grey(0.59)},
    };
}

QImage KSTMainWindow::noisePattern()
{
    static const QImage noise = Bastwick::noiseImage(128, 128, 0.015);
    return noise;
}

void KSTMainWindow::createAndPositionTrafficLights()
{
    const QSize light = KSTTrafficLightsView::lightSize();
    const QRect bar = titleBarView() ? titleBarView()->rect() : QRect();
    m_trafficLightsContainer = new KSTTrafficLightsView(titleBarView());
    m_trafficLightsContainer->setGeometry(
        int(kKSTWindowTrafficLightsSpacing),
        int(std::floor(bar.y() + bar.height() / 2.0 - light.height() / 2.0)),
        3 * light.width() + 2 * int(kKSTWindowTrafficLightsSpacing), light.height());
    m_trafficLightsContainer->show();
}

void KSTMainWindow::awakeFromNib()
{
    const QHash<QString, QColor> colors = titleBarColorList();
    setTitleBarHeight(36.0);
    setCenterFullScreenButton(true);
    setFullScreenButtonRightMargin(10.0);
    // The block keeps the colours and only a guarded reference to the window.
    titleBarDrawingBlock = [window = QPointer<KSTMainWindow>(this), colors](
                               QPainter &painter, bool main, const QRectF &rect, const QPainterPath &clip) {
        if (window)
            window->drawTitleBar(painter, main, rect, clip, colors);
    };

    const QImage images[2] = {chromeImage(QStringLiteral("home-gray")),
                              chromeImage(QStringLiteral("about-gray"))};
    void (KSTMainWindow::*const actions[2])() = {&KSTMainWindow::homeBtnClicked,
                                                 &KSTMainWindow::aboutBtnClicked};
    const QPoint origins[2] = {{1105, kUserButtonTop}, {1288, kUserButtonTop}};
    QList<QAbstractButton *> buttons;
    for (int i = 0; i < 2; ++i) {
        auto *button = new ImageButton(QRect(origins[i], kUserButtonSize), images[i], titleBarView());
        button->setObjectName(i == 0 ? QStringLiteral("HomeButton") : QStringLiteral("AboutButton"));
        button->setToolTip(i == 0 ? tr("Home page") : tr("About Kestrune"));
        button->setTargetAction(this, actions[i]);
        button->show();
        buttons.append(button);
    }
    setUserButtons(buttons);
}

void KSTMainWindow::layoutTrafficLightsAndContent()
{
    TBWindow::layoutTrafficLightsAndContent();
    for (ButtonKind kind : {CloseButton, MiniaturizeButton, ZoomButton})
        if (QAbstractButton *button = standardWindowButton(kind))
            button->setHidden(true);
    // The lights stay at the left and keep their vertical centre when the bar changes
    // height.
    if (m_trafficLightsContainer && titleBarView()) {
        const int barHeight = titleBarView()->height();
        const int lightsHeight = m_trafficLightsContainer->height();
        m_trafficLightsContainer->move(m_trafficLightsContainer->x(),
                                       int(std::floor(barHeight / 2.0 - lightsHeight / 2.0)));
    }
}

void KSTMainWindow::toggleFullScreen()
{
    if (m_trafficLightsContainer)
        m_trafficLightsContainer->setAlphaValue(isInFullScreen() ? 1.0 : 0.0);
    TBWindow::toggleFullScreen();
}

void KSTMainWindow::homeBtnClicked()
{
    Bastwick::NotificationCenter::defaultCenter().post(kHomeMsg);
}

void KSTMainWindow::aboutBtnClicked()
{
    Bastwick::NotificationCenter::defaultCenter().post(kAboutMsg);
}

void KSTMainWindow::shareBtnClicked()
{
    Bastwick::NotificationCenter::defaultCenter().post(kShareMsg);
}

void KSTMainWindow::drawTitleBar(QPainter &painter, bool drawsAsMain, const QRectF &rect,
                                 const QPainterPath &clip, const QHash<QString, QColor> &colors)
{
    if (isInFullScreen())
        painter.fillRect(rect, Qt::black);
    painter.save();
    painter.setClipPath(clip);
    const QString suffix = drawsAsMain ? QString() : QStringLiteral("Unemphasized");
    const auto color = [&](const char *key) { return colors.value(QString::fromLatin1(key) + suffix); };
    const double x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    // Rows from the top: the top inset, the gradient, the bottom inset, the border.
    painter.fillRect(QRectF(x, y, w, 1), color("topInset"));
    painter.fillRect(QRectF(x, y + h - 2, w, 1), color("bottomInset"));
    painter.fillRect(QRectF(x, y + h - 1, w, 1), color("bottomBorder"));
    const QRectF gradientRect(x, y + 1, w, h - 3);
    QLinearGradient gradient(gradientRect.topLeft(), gradientRect.bottomLeft());
    gradient.setColorAt(0.0, color("gradientTop"));
    gradient.setColorAt(1.0, color("gradientBottom"));
    painter.fillRect(gradientRect, gradient);
    const QImage noise = noisePattern();
    if (!noise.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.drawTiledPixmap(rect, QPixmap::fromImage(noise), QPointF(rect.x(), rect.y()));
    }
    painter.restore();

    // The user buttons follow the right end of the bar.
    const float x0 = float(w) - 136.0f + 36.0f;
    for (int i = 0; i < m_userButtons.size(); ++i)
        if (QAbstractButton *button = m_userButtons.at(i))
            button->setGeometry(QRect(QPoint(int(x0 + 36.0f * float(i)), kUserButtonTop), kUserButtonSize));
}
