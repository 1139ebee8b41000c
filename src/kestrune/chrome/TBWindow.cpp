#include <kestrune/chrome/TBWindow.h>

#include <kestrune/chrome/ChromeMetrics.h>
#include <kestrune/chrome/ImageButton.h>
#include <kestrune/chrome/TBDocument.h>
#include <kestrune/chrome/TBTitlebarContainer.h>
#include <kestrune/chrome/TBTitlebarView.h>

#include <QtGui/QAction>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QAbstractSlider>
#include <QtWidgets/QAbstractSpinBox>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QToolBar>

#include <algorithm>
#include <cmath>

using namespace Kestrune;

namespace {

// The layout works like the window systems it copies: heights measured upwards from
// the bar's bottom edge. This turns such a y of a box of height h into its top edge.
int topFromBottomUp(double barHeight, double yUp, double h)
{
    return int(std::lround(barHeight - yUp - h));
}

// What the close, minimise, zoom and full-screen buttons do.
void (TBWindow::*const kReplacementActions[4])() = {&TBWindow::performClose, &TBWindow::performMiniaturize,
                                                    &TBWindow::performZoom, &TBWindow::toggleFullScreen};

QString accessibleNameOf(int slot)
{
    switch (slot) {
    case 0:
        return QObject::tr("close button");
    case 1:
        return QObject::tr("minimize button");
    case 2:
        return QObject::tr("zoom button");
    default:
        return QObject::tr("full screen button");
    }
}

bool isControl(const QWidget *widget)
{
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QLineEdit *>(widget) ||
           qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSlider *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget);
}

} // namespace

TBWindowDelegate::~TBWindowDelegate() = default;

std::optional<QRect> TBWindowDelegate::windowWillPositionSheet(TBWindow *, const QRect &)
{
    return std::nullopt;
}

TBWindow::TBWindow(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setMinimumSize(kTBWindowMinimumSize);
    doInitialWindowSetup();
    // The usual full-screen key of the platform, F11 on every desktop here.
    auto *fullScreen = new QAction(tr("Full Screen"), this);
    fullScreen->setObjectName(QStringLiteral("TBToggleFullScreen"));
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::FullScreen);
    if (!keys.contains(QKeySequence(Qt::Key_F11)))
        keys.prepend(QKeySequence(Qt::Key_F11));
    fullScreen->setShortcuts(keys);
    fullScreen->setShortcutContext(Qt::WindowShortcut);
    connect(fullScreen, &QAction::triggered, this, [this] { toggleFullScreen(); });
    addAction(fullScreen);
    // The window system's focus can move without an activation change reaching this
    // window (between its own dialogs, or with the application state arriving late).
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { activationStateDidChange(); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this] { activationStateDidChange(); });
}

TBWindow::~TBWindow() = default;

void TBWindow::doInitialWindowSetup()
{
    m_showsBaselineSeparator = true;
    m_centerTrafficLightButtons = true;
    m_titleBarHeight = kTBStandardTitleBarHeight;
    m_cachedTitleBarHeight = m_titleBarHeight;
    m_trafficLightButtonsLeftMargin = kTBStandardButtonLeftMargin;
    m_trafficLightButtonsTopMargin = 3.0;
    m_fullScreenButtonTopMargin = 3.0;
    m_trafficLightSeparation = kTBStandardButtonSeparation;
    createTitlebarView();
    layoutTrafficLightsAndContent();
}

// --- Activation ---------------------------------------------------------------------

bool TBWindow::drawsAsMainWindow() const
{
    if (m_activationHook)
        return m_activationHook(this);
    // The window the window system has given the focus, or one of the windows it owns
    // (a sheet, an alert, the quick-connect window), makes this the main window.
    const QWindow *own = windowHandle();
    for (const QWindow *w = QGuiApplication::focusWindow(); own && w; w = w->transientParent())
        if (w == own)
            return true;
    for (const QWidget *w = QApplication::activeWindow(); w; w = w->parentWidget())
        if (w == this)
            return true;
    return isActiveWindow() && QApplication::applicationState() == Qt::ApplicationActive;
}

void TBWindow::setActivationStateHook(ActivationStateHook hook)
{
    m_activationHook = std::move(hook);
    activationStateDidChange();
}

void TBWindow::activationStateDidChange()
{
    updateTitlebarView();
    layoutTrafficLightsAndContent();
    const bool main = drawsAsMainWindow();
    if (m_lastDrawsAsMain != main) {
        m_lastDrawsAsMain = main;
        emit activationStateChanged(main);
    }
}

void TBWindow::updateTitlebarView()
{
    if (!m_titleBarView)
        return;
    m_titleBarView->update();
    const bool main = drawsAsMainWindow();
    for (QWidget *child : m_titleBarView->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (isControl(child))
            child->setEnabled(main);
    if (m_titleField) {
        QPalette palette = m_titleField->palette();
        palette.setColor(QPalette::WindowText, defaultTitleTextColor(main));
        m_titleField->setPalette(palette);
    }
}

void TBWindow::redisplay()
{
    if (m_titleBarView)
        m_titleBarView->update();
}

// --- Title bar ----------------------------------------------------------------------

void TBWindow::createTitlebarView()
{
    m_container = new TBTitlebarContainer(this);
    m_container->lower();
    setTitleBarView(new TBTitlebarView(m_container));
    createStandardButtons();
    m_titleField = new QLabel(this);
    m_titleField->setObjectName(QStringLiteral("TBWindowTitleField"));
    m_titleField->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_titleField->setText(windowTitle());
    for (Qt::Edges edges :
         {Qt::Edges(Qt::LeftEdge), Qt::Edges(Qt::RightEdge), Qt::Edges(Qt::TopEdge),
          Qt::Edges(Qt::BottomEdge), Qt::TopEdge | Qt::LeftEdge, Qt::TopEdge | Qt::RightEdge,
          Qt::BottomEdge | Qt::LeftEdge, Qt::BottomEdge | Qt::RightEdge})
        m_grips.append(new TBWindowGrip(edges, this));
}

void TBWindow::createStandardButtons()
{
    const char *images[4] = {"traffic-close", "traffic-minimize", "traffic-zoom", "window-fullscreen"};
    const char *pressed[4] = {"traffic-close-pressed", "traffic-minimize-pressed", "traffic-zoom-pressed",
                              ""};
    for (int slot = 0; slot < 4; ++slot) {
        auto *button = new ImageButton(QRect(QPoint(0, 0), kTBStandardButtonSize),
                                       chromeImage(QString::fromLatin1(images[slot])), this);
        button->setAlternateImage(chromeImage(QString::fromLatin1(pressed[slot])));
        button->setObjectName(QStringLiteral("TBStandardButton%1").arg(slot));
        button->setAccessibleName(accessibleNameOf(slot));
        button->setTargetAction(this, kReplacementActions[slot]);
        m_standard[slot] = button;
    }
    // Where the window system would put them before the first layout pass.
    for (int slot = 0; slot < 3; ++slot)
        m_standard[slot]->move(int(kTBStandardButtonLeftMargin) +
                                   slot * (kTBStandardButtonSize.width() + int(kTBStandardButtonSeparation)),
                               0);
}

void TBWindow::setTitleBarView(QWidget *view)
{
    if (!view || view == m_titleBarView)
        return;
    if (m_titleBarView)
        m_titleBarView->setParent(nullptr), m_titleBarView->deleteLater();
    m_titleBarView = view;
    view->setParent(m_container);
    view->setGeometry(m_container->rect());
    view->show();
}

void TBWindow::setTitleBarHeight(double height, bool adjustWindowFrame)
{
    if (height == m_titleBarHeight)
        return;
    if (findChild<QToolBar *>(QString(), Qt::FindDirectChildrenOnly))
        height = kTBStandardTitleBarHeight;
    QRect frame = geometry();
    if (adjustWindowFrame)
        frame.setHeight(frame.height() + int(std::lround(height - m_titleBarHeight)));
    m_cachedTitleBarHeight = height;
    m_titleBarHeight = height;
    setFrame(frame, true);
    layoutTrafficLightsAndContent();
    redisplay();
}

double TBWindow::mouseDragDetectionThreshold() const
{
    return m_container->mouseDragDetectionThreshold();
}

void TBWindow::setMouseDragDetectionThreshold(double threshold)
{
    m_container->setMouseDragDetectionThreshold(threshold);
}

void TBWindow::setCenterFullScreenButton(bool on)
{
    if (on == m_centerFullScreenButton)
        return;
    m_centerFullScreenButton = on;
    layoutTrafficLightsAndContent();
}

void TBWindow::setCenterTrafficLightButtons(bool on)
{
    if (on == m_centerTrafficLightButtons)
        return;
    m_centerTrafficLightButtons = on;
    layoutTrafficLightsAndContent();
}

void TBWindow::setVerticalTrafficLightButtons(bool on)
{
    if (on == m_verticalTrafficLightButtons)
        return;
    m_verticalTrafficLightButtons = on;
    layoutTrafficLightsAndContent();
}

void TBWindow::setVerticallyCenterTitle(bool on)
{
    if (on == m_verticallyCenterTitle)
        return;
    m_verticallyCenterTitle = on;
    redisplay();
}

void TBWindow::setShowsBaselineSeparator(bool on)
{
    if (on == m_showsBaselineSeparator)
        return;
    m_showsBaselineSeparator = on;
    redisplay();
}

void TBWindow::setTrafficLightButtonsLeftMargin(double margin)
{
    if (margin == m_trafficLightButtonsLeftMargin)
        return;
    m_trafficLightButtonsLeftMargin = margin;
    layoutTrafficLightsAndContent();
    redisplay();
}

void TBWindow::setFullScreenButtonRightMargin(double margin)
{
    if (margin == m_fullScreenButtonRightMargin)
        return;
    m_setFullScreenButtonRightMargin = true;
    m_fullScreenButtonRightMargin = margin;
    layoutTrafficLightsAndContent();
    redisplay();
}

void TBWindow::setTrafficLightSeparation(double separation)
{
    if (separation == m_trafficLightSeparation)
        return;
    m_trafficLightSeparation = separation;
    layoutTrafficLightsAndContent();
}

void TBWindow::setShowsTitle(bool on)
{
    if (on == m_showsTitle)
        return;
    m_showsTitle = on;
    // The bar draws the title itself then; one title is enough.
    m_titleField->setVisible(!on);
    redisplay();
}

void TBWindow::setShowsDocumentProxyIcon(bool on)
{
    if (on == m_showsDocumentProxyIcon)
        return;
    m_showsDocumentProxyIcon = on;
    redisplay();
}

namespace {
bool s_usesOldLook = false;

QColor white(double level)
{
    return QColor::fromRgbF(float(level), float(level), float(level));
}
} // namespace

bool TBWindow::usesOldLook()
{
    return s_usesOldLook;
}

void TBWindow::setUsesOldLook(bool on)
{
    s_usesOldLook = on;
}

QGradientStops TBWindow::defaultTitleBarGradient(bool drawsAsMain)
{
    if (s_usesOldLook)
        return drawsAsMain ? QGradientStops{{0.0, white(0.659)}, {1.0, white(0.812)}}
                           : QGradientStops{{0.0, white(0.851)}, {1.0, white(0.929)}};
    if (drawsAsMain)
        return {{0.0, QColor(180, 180, 180)},
                {0.25, QColor(195, 195, 195)},
                {0.5, QColor(210, 210, 210)},
                {1.0, QColor(235, 235, 235)}};
    return {{0.0, QColor(225, 225, 225)}, {1.0, QColor(250, 250, 250)}};
}

QColor TBWindow::defaultBaselineSeparatorColor(bool drawsAsMain)
{
    if (s_usesOldLook)
        return drawsAsMain ? white(0.318) : white(0.6);
    return drawsAsMain ? QColor(104, 104, 104) : QColor(167, 167, 167);
}

QColor TBWindow::defaultTitleTextColor(bool drawsAsMain)
{
    return QColor::fromRgbF(56 / 255.0, 56 / 255.0, 56 / 255.0, drawsAsMain ? 1.0 : 0.5);
}

// --- Buttons ------------------------------------------------------------------------

ImageButton *TBWindow::standardWindowButton(ButtonKind kind) const
{
    switch (kind) {
    case CloseButton:
        return m_standard[0];
    case MiniaturizeButton:
        return m_standard[1];
    case ZoomButton:
        return m_standard[2];
    case FullScreenButton:
        return m_standard[3];
    case DocumentIconButton:
        return m_documentIconButton;
    case DocumentVersionsButton:
        return m_versionsButton;
    }
    return nullptr;
}

QAbstractButton *TBWindow::buttonToLayout(int slot) const
{
    ImageButton *standard = m_standard[slot];
    if (QAbstractButton *replacement = m_replacements[slot]) {
        standard->hide();
        return replacement;
    }
    // Our standard buttons live in the window itself; one that was moved elsewhere is
    // shown again.
    if (standard->parentWidget() != this)
        standard->show();
    return standard;
}

void TBWindow::setReplacement(int slot, QAbstractButton *button)
{
    if (m_replacements[slot] == button)
        return;
    if (QAbstractButton *previous = m_replacements[slot]) {
        previous->setParent(nullptr);
        previous->deleteLater();
    }
    m_replacements[slot] = button;
    if (!button)
        return;
    if (auto *imageButton = qobject_cast<ImageButton *>(button))
        imageButton->setTargetAction(this, kReplacementActions[slot]);
    else
        connect(button, &QAbstractButton::clicked, this,
                [this, slot] { (this->*kReplacementActions[slot])(); });
    button->setParent(this);
    button->move(m_standard[slot]->pos());
    button->setAccessibleName(accessibleNameOf(slot));
    button->show();
}

void TBWindow::setRepresentedURL(const QUrl &url)
{
    m_representedURL = url;
    if (!m_documentIconButton) {
        m_documentIconButton =
            new ImageButton(QRect(QPoint(0, 0), kTBDocumentIconButtonSize), QImage(), this);
        m_documentIconButton->setObjectName(QStringLiteral("TBDocumentIconButton"));
        m_documentIconButton->show();
    }
    if (!m_showsDocumentProxyIcon)
        m_documentIconButton->setImage(QImage());
    layoutTrafficLightsAndContent();
}

void TBWindow::setDocumentIconImage(const QImage &image)
{
    if (m_documentIconButton)
        m_documentIconButton->setImage(image);
}

TBDocument *TBWindow::document() const
{
    return m_document;
}

void TBWindow::setDocument(TBDocument *document)
{
    if (document == m_document)
        return;
    m_document = document;
    if (document && !m_versionsButton) {
        m_versionsButton = new ImageButton(QRect(QPoint(0, 0), kTBVersionsButtonSize),
                                           chromeImage(QStringLiteral("window-versions")), this);
        m_versionsButton->setObjectName(QStringLiteral("TBVersionsButton"));
        m_versionsButton->setAccessibleName(tr("versions button"));
        m_versionsButton->show();
    } else if (!document && m_versionsButton) {
        delete m_versionsButton;
        m_versionsButton = nullptr;
    }
    layoutTrafficLightsAndContent();
    redisplay();
}

bool TBWindow::documentHasEditStatus() const
{
    return isWindowModified() || (m_document && m_document->hasUnautosavedChanges());
}

// --- Layout -------------------------------------------------------------------------

void TBWindow::recalculateFrameForTitleBarContainer()
{
    m_container->setGeometry(0, barTop(), width(), int(std::lround(m_titleBarHeight)));
    if (m_titleBarView)
        m_titleBarView->setGeometry(m_container->rect());
}

void TBWindow::layoutTrafficLightsAndContent()
{
    if (!m_container)
        return;
    recalculateFrameForTitleBarContainer();
    layoutTrafficLights();
    layoutFullScreenButton();
    layoutTitleAndDocumentIcon();
    layoutVersionsButtonAndTextFields();
    repositionContentView();
    layoutGrips();
}

// Close, minimise and zoom: in a row from the left margin, or in a column (zoom at the
// top), centred in the bar or held at the top margin.
void TBWindow::layoutTrafficLights()
{
    const double barHeight = m_titleBarHeight;
    const double midY = barHeight * 0.5;
    const double maxY = barHeight;
    QAbstractButton *close = closeButtonToLayout();
    QAbstractButton *minimize = minimizeButtonToLayout();
    QAbstractButton *zoom = zoomButtonToLayout();
    const QSize c = close->size(), m = minimize->size(), z = zoom->size();
    const double s = m_trafficLightSeparation;
    if (!m_verticalTrafficLightButtons) {
        const double y = m_centerTrafficLightButtons ? std::round(midY - c.height() * 0.5)
                                                     : maxY - c.height() - m_trafficLightButtonsTopMargin;
        const double cx = m_trafficLightButtonsLeftMargin;
        const double mx = cx + c.width() + s;
        const double zx = mx + m.width() + s;
        close->move(int(std::lround(cx)), barTop() + topFromBottomUp(barHeight, y, c.height()));
        minimize->move(int(std::lround(mx)), barTop() + topFromBottomUp(barHeight, y, m.height()));
        zoom->move(int(std::lround(zx)), barTop() + topFromBottomUp(barHeight, y, z.height()));
    } else {
        const double columnHeight = c.height() + m.height() + z.height() + 2 * (s - 2.0);
        const double y0 = m_centerTrafficLightButtons ? std::round(midY - columnHeight / 2)
                                                      : maxY - columnHeight - m_trafficLightButtonsTopMargin;
        const int x = int(std::lround(m_trafficLightButtonsLeftMargin));
        const double zy = y0;
        const double my = zy + z.height() + s - 2.0;
        const double cy = my + m.height() + s - 2.0;
        close->move(x, barTop() + topFromBottomUp(barHeight, cy, c.height()));
        minimize->move(x, barTop() + topFromBottomUp(barHeight, my, m.height()));
        zoom->move(x, barTop() + topFromBottomUp(barHeight, zy, z.height()));
    }
}

// The full-screen button at its right margin (taken from where the button stands the
// first time), centred in the bar or held at the top margin.
void TBWindow::layoutFullScreenButton()
{
    QAbstractButton *fullScreen = fullScreenButtonToLayout();
    if (!fullScreen)
        return;
    const double barHeight = m_titleBarHeight;
    const double midY = barHeight * 0.5;
    const double maxY = barHeight;
    const double barWidth = width();
    if (!m_setFullScreenButtonRightMargin) {
        if (fullScreen == m_standard[3])
            fullScreen->move(int(barWidth - fullScreen->width() - kTBStandardFullScreenButtonRightMargin),
                             fullScreen->y());
        setFullScreenButtonRightMargin(barWidth - (fullScreen->x() + fullScreen->width()));
    }
    const double h = fullScreen->height();
    const double y =
        m_centerFullScreenButton ? std::floor(midY - h * 0.5) : maxY - h - m_fullScreenButtonTopMargin;
    fullScreen->move(int(std::lround(barWidth - fullScreen->width() - m_fullScreenButtonRightMargin)),
                     barTop() + topFromBottomUp(barHeight, y, h));
}

// The title text and the document icon left of it, placed in the middle of the bar as
// the window system places its own title.
void TBWindow::layoutTitleAndDocumentIcon()
{
    const double barHeight = m_titleBarHeight;
    const double barWidth = width();
    const double midY = barHeight * 0.5;
    const double maxY = barHeight;
    if (titleFont)
        m_titleField->setFont(*titleFont);
    else {
        QFont font = QApplication::font();
        font.setPixelSize(13);
        m_titleField->setFont(font);
    }
    m_titleField->setText(windowTitle());
    m_titleField->adjustSize();
    m_titleField->move(int((barWidth - m_titleField->width()) / 2), m_titleField->y());
    if (m_documentIconButton) {
        const double h = m_documentIconButton->height();
        const double y = m_verticallyCenterTitle ? std::floor(midY - h * 0.5) : maxY - h - 3.0;
        m_documentIconButton->move(m_titleField->x() - m_documentIconButton->width() -
                                       int(kTBTitleDocumentButtonOffset),
                                   barTop() + topFromBottomUp(barHeight, y, h));
    }
}

// The versions button right of the title text, and every text field of the window
// itself (the title among them) at the title's height, all in the title font when the
// window has one.
void TBWindow::layoutVersionsButtonAndTextFields()
{
    const double barHeight = m_titleBarHeight;
    const double midY = barHeight * 0.5;
    const double maxY = barHeight;
    if (m_versionsButton) {
        const double h = m_versionsButton->height();
        const double y = m_verticallyCenterTitle ? std::floor(midY - h * 0.5) : maxY - h - 2.0;
        // Right of the title, but never past the full-screen button or the window's edge.
        QAbstractButton *fullScreen = fullScreenButtonToLayout();
        const int limit = (fullScreen ? fullScreen->x() : width()) - int(kTBTitleHorizontalMargin);
        const int x = std::min(m_titleField->x() + m_titleField->width() + int(kTBTitleDocumentButtonOffset),
                               limit - m_versionsButton->width());
        m_versionsButton->move(x, barTop() + topFromBottomUp(barHeight, y, h));
        if (titleFont)
            m_versionsButton->setFont(*titleFont);
    }
    for (QLabel *field : findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        const double h = field->height();
        const double y = m_verticallyCenterTitle ? std::round(midY - h * 0.5) : maxY - h - 2.0;
        field->move(field->x(), barTop() + topFromBottomUp(barHeight, y, h));
        if (titleFont)
            field->setFont(*titleFont);
    }
}

// The content starts below the bar wherever the bar is shown, so the bar never lies
// over it; while the bar is hidden in full screen the content starts at the top.
void TBWindow::repositionContentView()
{
    const int top = int(std::lround(shownTitleBarHeight()));
    if (contentsMargins() != QMargins(0, top, 0, 0))
        setContentsMargins(0, top, 0, 0);
}

int TBWindow::barTop() const
{
    // A bar hidden with no height of its own still keeps its buttons out of sight.
    return isTitleBarShown() ? 0 : -int(std::lround(std::max(m_titleBarHeight, m_cachedTitleBarHeight)));
}

void TBWindow::layoutGrips()
{
    const int g = kTBWindowGripWidth;
    const int w = width(), h = height();
    const bool resizable = (m_styleMask & Resizable) && !m_inFullScreen && !isMaximized();
    for (TBWindowGrip *grip : std::as_const(m_grips)) {
        const Qt::Edges e = grip->edges();
        const int x = (e & Qt::LeftEdge) ? 0 : (e & Qt::RightEdge) ? w - g : g;
        const int y = (e & Qt::TopEdge) ? 0 : (e & Qt::BottomEdge) ? h - g : g;
        const int gw = (e & (Qt::LeftEdge | Qt::RightEdge)) ? g : w - 2 * g;
        const int gh = (e & (Qt::TopEdge | Qt::BottomEdge)) ? g : h - 2 * g;
        grip->setGeometry(x, y, gw, gh);
        grip->setVisible(resizable);
        grip->raise();
    }
}

double TBWindow::toolbarHeight() const
{
    const int top = contentsMargins().top();
    int bottom = top;
    if (QWidget *menu = menuWidget(); menu && !menu->isHidden())
        bottom = std::max(bottom, menu->geometry().bottom() + 1);
    for (QToolBar *bar : findChildren<QToolBar *>(Qt::FindDirectChildrenOnly))
        if (!bar->isHidden() && toolBarArea(bar) == Qt::TopToolBarArea)
            bottom = std::max(bottom, bar->geometry().bottom() + 1);
    return bottom - top;
}

QRect TBWindow::contentViewFrame() const
{
    const int top = int(std::lround(shownTitleBarHeight() + toolbarHeight()));
    return QRect(0, top, width(), height() - top);
}

QPoint TBWindow::sheetPosition(const QSize &sheetSize) const
{
    const QRect proposed(
        QPoint((width() - sheetSize.width()) / 2, int(std::lround(shownTitleBarHeight() + toolbarHeight()))),
        sheetSize);
    QRect placed = proposed;
    if (auto *delegate = dynamic_cast<TBWindowDelegate *>(m_delegate.data()))
        placed = delegate->windowWillPositionSheet(const_cast<TBWindow *>(this), proposed).value_or(proposed);
    return mapToGlobal(placed.topLeft());
}

QRect TBWindow::geometryForEdgeDrag(const QRect &start, Qt::Edges edges, const QPoint &delta,
                                    const QSize &minimum)
{
    QRect r = start;
    if (edges & Qt::LeftEdge)
        r.setLeft(std::min(start.left() + delta.x(), start.right() + 1 - minimum.width()));
    if (edges & Qt::RightEdge)
        r.setRight(std::max(start.right() + delta.x(), start.left() + minimum.width() - 1));
    if (edges & Qt::TopEdge)
        r.setTop(std::min(start.top() + delta.y(), start.bottom() + 1 - minimum.height()));
    if (edges & Qt::BottomEdge)
        r.setBottom(std::max(start.bottom() + delta.y(), start.top() + minimum.height() - 1));
    return r;
}

// --- Style and full screen ------------------------------------------------------------

unsigned TBWindow::styleMask() const
{
    return (m_styleMask & ~unsigned(FullScreen)) | (m_inFullScreen ? unsigned(FullScreen) : 0u);
}

// Frame requests made while the style changes (by the change itself or by anything the
// redisplay runs) are dropped.
void TBWindow::setStyleMask(unsigned mask)
{
    m_preventWindowFrameChange = true;
    m_styleMask = mask & ~unsigned(FullScreen);
    m_standard[0]->setEnabled(mask & Closable);
    m_standard[1]->setEnabled(mask & Miniaturizable);
    m_standard[2]->setEnabled(mask & Resizable);
    layoutGrips();
    redisplay();
    if (QWidget *content = centralWidget(); content && content->isVisible())
        content->repaint();
    m_preventWindowFrameChange = false;
}

void TBWindow::setFrame(const QRect &frame, bool display)
{
    if (m_preventWindowFrameChange)
        return;
    // A window not yet placed keeps its placement to the window system when only its
    // size changes.
    if (frame.topLeft() == geometry().topLeft())
        resize(frame.size());
    else
        setGeometry(frame);
    if (display && isVisible())
        repaint();
}

void TBWindow::zoom()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void TBWindow::toggleFullScreen()
{
    if (m_inFullScreen)
        exitFullScreen();
    else
        enterFullScreen();
}

void TBWindow::enterFullScreen()
{
    emit willEnterFullScreen();
    if (m_hideTitleBarInFullScreen) {
        m_titleBarHeight = 0.0;
        if (m_titleBarView)
            m_titleBarView->hide();
    }
    m_normalGeometry = geometry();
    m_inFullScreen = true;
    m_titleBarRevealed = false;
    // The pointer reaching the top edge brings the bar back: every move over the window
    // passes its window-system window, whichever widget it goes to.
    if (!windowHandle())
        create();
    windowHandle()->installEventFilter(this);
    m_togglingFullScreen = true;
    setWindowState(windowState() | Qt::WindowFullScreen);
    // Without a window manager the state alone does not cover the screen.
    if (QScreen *s = screen(); s && geometry() != s->geometry())
        setGeometry(s->geometry());
    m_togglingFullScreen = false;
    layoutTrafficLightsAndContent();
    redisplay();
}

void TBWindow::exitFullScreen()
{
    emit willExitFullScreen();
    if (m_hideTitleBarInFullScreen) {
        m_titleBarHeight = m_cachedTitleBarHeight;
        if (m_titleBarView)
            m_titleBarView->show();
    }
    m_inFullScreen = false;
    m_titleBarRevealed = false;
    if (QWindow *handle = windowHandle())
        handle->removeEventFilter(this);
    m_togglingFullScreen = true;
    setWindowState(windowState() & ~Qt::WindowFullScreen);
    if (m_normalGeometry.isValid() && geometry() != m_normalGeometry)
        setGeometry(m_normalGeometry);
    m_togglingFullScreen = false;
    layoutTrafficLightsAndContent();
    redisplay();
    emit didExitFullScreen();
}

void TBWindow::setTitleBarRevealed(bool revealed)
{
    // A bar that is hidden for the whole of full screen does not come back.
    if (!m_inFullScreen || revealed == m_titleBarRevealed || (revealed && m_titleBarHeight <= 0.0))
        return;
    m_titleBarRevealed = revealed;
    layoutTrafficLightsAndContent();
    redisplay();
    emit titleBarRevealedChanged(revealed);
}

// --- Events -------------------------------------------------------------------------

bool TBWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && m_inFullScreen && watched == windowHandle()) {
        const auto *move = static_cast<QMouseEvent *>(event);
        const double y = move->position().y();
        // A drag that reaches the edge (selecting text, moving a divider) is left alone.
        if (!m_titleBarRevealed && move->buttons() == Qt::NoButton && y < kTBFullScreenRevealEdge)
            setTitleBarRevealed(true);
        // Below the bar and the menu bar and toolbars it brought down with it.
        else if (m_titleBarRevealed && y >= shownTitleBarHeight() + toolbarHeight())
            setTitleBarRevealed(false);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TBWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape that nothing inside the window took leaves full screen.
    if (m_inFullScreen && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        toggleFullScreen();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool TBWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
        layoutTrafficLightsAndContent();
        break;
    case QEvent::WindowTitleChange:
    case QEvent::ModifiedChange:
        layoutTrafficLightsAndContent();
        redisplay();
        break;
    case QEvent::ChildAdded:
        if (qobject_cast<QToolBar *>(static_cast<QChildEvent *>(event)->child()))
            setTitleBarHeight(kTBStandardTitleBarHeight);
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void TBWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        activationStateDidChange();
    } else if (event->type() == QEvent::WindowStateChange && !m_togglingFullScreen) {
        // The window manager may change full screen itself (a key, a menu of its own).
        const bool full = windowState() & Qt::WindowFullScreen;
        if (full != m_inFullScreen) {
            m_togglingFullScreen = true;
            toggleFullScreen();
            m_togglingFullScreen = false;
        }
        layoutGrips();
    }
}

void TBWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutTrafficLightsAndContent();
}

namespace Kestrune {

bool windowDrawsAsMain(const QWidget *widget)
{
    if (!widget)
        return false;
    const QWidget *top = widget->window();
    if (const auto *tbWindow = qobject_cast<const TBWindow *>(top))
        return tbWindow->drawsAsMainWindow();
    return top->isActiveWindow();
}

} // namespace Kestrune
