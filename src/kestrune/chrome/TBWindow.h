#pragma once

#include <QtCore/QPointer>
#include <QtCore/QUrl>
#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtGui/QGradient>
#include <QtWidgets/QMainWindow>

#include <functional>
#include <optional>

#include <kestrune/chrome/ImageButton.h>
#include <pavisade/sheets/SheetHost.h>
#include <pavisade/viewcontrollers/DocumentWindow.h>
class TBDocument;
class TBTitlebarContainer;
class TBWindow;
class TBWindowGrip;
QT_BEGIN_NAMESPACE
class QAbstractButton;
class QLabel;
class QPainter;
class QPainterPath;
QT_END_NAMESPACE

// What a title-bar window asks the object its user set as its delegate. Only sheet
// placement is asked; a delegate that does not place sheets answers nothing.
class TBWindowDelegate
{
public:
    virtual ~TBWindowDelegate();
    // The rectangle (window coordinates) of a sheet about to open, or nothing to leave
    // it where the window puts it: below its title bar and toolbar.
    virtual std::optional<QRect> windowWillPositionSheet(TBWindow *window, const QRect &proposed);
};

// A frameless main window that draws its own title bar.
//
// Its title-bar container sits at the top; the title-bar view inside it paints the bar,
// and the window lays out in it the close, minimise and zoom buttons (its own standard
// ones, or replacement buttons), the full-screen button, the document-icon button and
// the title. Menu bar, toolbars and content follow below the bar. Every resize, move,
// activation change, title change and change of a layout property runs the layout pass
// again. Dragging the bar moves the window, the edges and corners resize it (through the
// window system where it offers that, by changing the geometry itself where it does
// not), and the full-screen state is the window's own.
//
// Whether the window draws as the main window comes from one activation-state hook that
// tests and other chrome may replace; the title bar and the controls in it follow it.
// Main thread.
class TBWindow : public QMainWindow, public SheetHost, public DocumentWindow
{
    Q_OBJECT
public:
    // The window's standard buttons, by kind.
    enum ButtonKind {
        CloseButton = 0,
        MiniaturizeButton = 1,
        ZoomButton = 2,
        DocumentIconButton = 4,
        DocumentVersionsButton = 6,
        FullScreenButton = 7
    };
    // Style bits: which of close, minimise and resize the window allows, a textured
    // background (the bar then shows the window's own background), and full screen.
    enum StyleBit : unsigned {
        Titled = 0x1,
        Closable = 0x2,
        Miniaturizable = 0x4,
        Resizable = 0x8,
        TexturedBackground = 0x100,
        FullScreen = 0x4000
    };
    // Draws the whole background of the title bar in place of the view's own drawing:
    // (painter, draws as main, drawing rectangle, clipping path of the rounded top).
    using DrawingBlock = std::function<void(QPainter &painter, bool drawsAsMain, const QRectF &rect,
                                            const QPainterPath &clip)>;
    // Answers whether the window draws as the main window.
    using ActivationStateHook = std::function<bool(const TBWindow *window)>;

    explicit TBWindow(QWidget *parent = nullptr);
    ~TBWindow() override;

    // --- Activation -----------------------------------------------------------------
    // The hook's answer, or (without a hook) whether the window is the active window of
    // an active application.
    bool drawsAsMainWindow() const;
    void setActivationStateHook(ActivationStateHook hook);
    // Runs what an activation change runs (after a hook starts answering differently).
    void activationStateDidChange();

    // --- Title bar ------------------------------------------------------------------
    double titleBarHeight() const { return m_titleBarHeight; }
    // Keeps the top edge in place and grows or shrinks the window by the difference, so
    // the content keeps its size. A window with a toolbar keeps the standard height.
    void setTitleBarHeight(double height) { setTitleBarHeight(height, true); }
    void setTitleBarHeight(double height, bool adjustWindowFrame);
    QWidget *titleBarView() const { return m_titleBarView; }
    void setTitleBarView(QWidget *view); // null is refused
    TBTitlebarContainer *titleBarContainer() const { return m_container; }
    double mouseDragDetectionThreshold() const;
    void setMouseDragDetectionThreshold(double threshold);

    bool centerFullScreenButton() const { return m_centerFullScreenButton; }
    void setCenterFullScreenButton(bool on);
    bool centerTrafficLightButtons() const { return m_centerTrafficLightButtons; }
    void setCenterTrafficLightButtons(bool on);
    bool verticalTrafficLightButtons() const { return m_verticalTrafficLightButtons; }
    void setVerticalTrafficLightButtons(bool on);
    bool verticallyCenterTitle() const { return m_verticallyCenterTitle; }
    void setVerticallyCenterTitle(bool on);
    bool hideTitleBarInFullScreen() const { return m_hideTitleBarInFullScreen; }
    void setHideTitleBarInFullScreen(bool on) { m_hideTitleBarInFullScreen = on; }
    bool showsBaselineSeparator() const { return m_showsBaselineSeparator; }
    void setShowsBaselineSeparator(bool on);
    double trafficLightButtonsLeftMargin() const { return m_trafficLightButtonsLeftMargin; }
    void setTrafficLightButtonsLeftMargin(double margin);
    double trafficLightButtonsTopMargin() const { return m_trafficLightButtonsTopMargin; }
    void setTrafficLightButtonsTopMargin(double margin) { m_trafficLightButtonsTopMargin = margin; }
    double fullScreenButtonRightMargin() const { return m_fullScreenButtonRightMargin; }
    void setFullScreenButtonRightMargin(double margin);
    double fullScreenButtonTopMargin() const { return m_fullScreenButtonTopMargin; }
    void setFullScreenButtonTopMargin(double margin) { m_fullScreenButtonTopMargin = margin; }
    double trafficLightSeparation() const { return m_trafficLightSeparation; }
    void setTrafficLightSeparation(double separation);
    bool showsTitle() const { return m_showsTitle; }
    void setShowsTitle(bool on);
    bool showsTitleInFullscreen() const { return m_showsTitleInFullscreen; }
    void setShowsTitleInFullscreen(bool on) { m_showsTitleInFullscreen = on; }
    bool showsDocumentProxyIcon() const { return m_showsDocumentProxyIcon; }
    void setShowsDocumentProxyIcon(bool on);

    // Colours and fonts the title-bar view draws with; unset ones fall back to the
    // defaults below. The plain ones serve the main look, the inactive ones the other.
    std::optional<QGradientStops> titleBarGradient, inactiveTitleBarGradient;
    std::optional<QColor> baselineSeparatorColor, inactiveBaselineSeparatorColor;
    std::optional<QColor> titleTextColor, inactiveTitleTextColor;
    std::optional<QColor> titleTextShadow, inactiveTitleTextShadow; // shadow colour, 1 px down
    std::optional<QFont> titleFont;
    DrawingBlock titleBarDrawingBlock;

    // The defaults follow the newer look unless the process asks for the older one
    // (flatter two-stop gradients, darker separators); the title text is the same in both.
    static bool usesOldLook();
    static void setUsesOldLook(bool on);
    static QGradientStops defaultTitleBarGradient(bool drawsAsMain);
    static QColor defaultBaselineSeparatorColor(bool drawsAsMain);
    static QColor defaultTitleTextColor(bool drawsAsMain);

    // --- Buttons --------------------------------------------------------------------
    // The window's own button of that kind; the document-icon button exists once a
    // represented URL is set, the versions button while the window shows a document.
    // Null for a kind the window does not have.
    ImageButton *standardWindowButton(ButtonKind kind) const;
    // Replacement buttons take the standard button's place (null gives it back). The
    // window becomes their target; they are reparented to the window.
    QAbstractButton *closeButton() const { return m_replacements[0]; }
    QAbstractButton *minimizeButton() const { return m_replacements[1]; }
    QAbstractButton *zoomButton() const { return m_replacements[2]; }
    QAbstractButton *fullScreenButton() const { return m_replacements[3]; }
    void setCloseButton(QAbstractButton *button) { setReplacement(0, button); }
    void setMinimizeButton(QAbstractButton *button) { setReplacement(1, button); }
    void setZoomButton(QAbstractButton *button) { setReplacement(2, button); }
    void setFullScreenButton(QAbstractButton *button) { setReplacement(3, button); }
    // The buttons the layout pass places: the replacement where there is one (the
    // standard one is then hidden), else the standard one.
    QAbstractButton *closeButtonToLayout() const { return buttonToLayout(0); }
    QAbstractButton *minimizeButtonToLayout() const { return buttonToLayout(1); }
    QAbstractButton *zoomButtonToLayout() const { return buttonToLayout(2); }
    QAbstractButton *fullScreenButtonToLayout() const { return buttonToLayout(3); }

    QUrl representedURL() const { return m_representedURL; }
    void setRepresentedURL(const QUrl &url) override;
    // The image of the document-icon button, once a represented URL has made it.
    void setDocumentIconImage(const QImage &image) override;
    QLabel *titleField() const { return m_titleField; }

    // The document the window shows, null for none. TBDocument sets it when the window
    // is added to or removed from it; the versions button comes and goes with it.
    TBDocument *document() const;
    void setDocument(TBDocument *document);
    // Whether a title beside the versions button stands further left: the window is
    // marked modified or its document has unautosaved changes.
    bool documentHasEditStatus() const;

    // --- Window state and geometry --------------------------------------------------
    unsigned styleMask() const;
    void setStyleMask(unsigned mask); // the FullScreen bit follows the window's state
    // Moves and sizes the window (display: paint it at once), unless the style is being
    // changed: then the request is dropped.
    void setFrame(const QRect &frame, bool display);
    bool isInFullScreen() const { return m_inFullScreen; }
    // In full screen the title bar stays out of the way: it is hidden and the content
    // takes its place, until the pointer reaches the screen's top edge. Then the bar
    // comes back with its buttons and the content starts below it again, until the
    // pointer goes below the bar and the menu bar and toolbars under it. Outside full
    // screen the bar is always shown.
    bool isTitleBarShown() const { return !m_inFullScreen || m_titleBarRevealed; }
    // Shows or hides the bar in full screen (what the pointer does); nothing otherwise,
    // and nothing while the bar is hidden for the whole of full screen.
    void setTitleBarRevealed(bool revealed);
    // Everything laid out above the content below the title bar (menu bar, toolbars),
    // 0 when there is none.
    double toolbarHeight() const;
    // Where the content goes: below the title bar and the toolbars; in full screen the
    // whole window.
    QRect contentViewFrame() const;
    // Where a sheet of the given size opens (global coordinates): centred, its top at
    // the bottom of the title bar and toolbar, unless the delegate places it.
    QPoint sheetPosition(const QSize &sheetSize) const override;

    QObject *delegate() const { return m_delegate; }
    void setDelegate(QObject *delegate) { m_delegate = delegate; } // not owned

    // The geometry an edge or corner drag by delta gives, never below the minimum size;
    // the opposite edges stay in place.
    static QRect geometryForEdgeDrag(const QRect &start, Qt::Edges edges, const QPoint &delta,
                                     const QSize &minimum);

    // The layout pass; a subclass that overrides it runs this one first.
    virtual void layoutTrafficLightsAndContent();
    void updateTitlebarView(); // redraw, enable or disable the bar's controls

public slots:
    virtual void toggleFullScreen();
    void performClose() { close(); }
    void performMiniaturize() { showMinimized(); }
    void performZoom() { zoom(); }
    void miniaturize() { showMinimized(); }
    void zoom();

signals:
    void activationStateChanged(bool drawsAsMain);
    void willEnterFullScreen();
    void willExitFullScreen();
    void didExitFullScreen();
    // The bar came back (true) or went away (false) in full screen.
    void titleBarRevealedChanged(bool revealed);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void doInitialWindowSetup();
    void createTitlebarView();
    void createStandardButtons();
    void recalculateFrameForTitleBarContainer();
    // The parts of the layout pass, in its order.
    void layoutTrafficLights();
    void layoutFullScreenButton();
    void layoutTitleAndDocumentIcon();
    void layoutVersionsButtonAndTextFields();
    void repositionContentView();
    void layoutGrips();
    void redisplay();
    void setReplacement(int slot, QAbstractButton *button);
    QAbstractButton *buttonToLayout(int slot) const;
    void enterFullScreen();
    void exitFullScreen();
    // The height of the bar as it stands now: 0 while it is hidden in full screen.
    double shownTitleBarHeight() const { return isTitleBarShown() ? m_titleBarHeight : 0.0; }
    // Where the bar's top edge lies: above the window while it is hidden in full screen.
    int barTop() const;

    double m_titleBarHeight = 0.0;
    double m_cachedTitleBarHeight = 0.0;
    bool m_setFullScreenButtonRightMargin = false;
    bool m_centerFullScreenButton = false;
    bool m_centerTrafficLightButtons = true;
    bool m_verticalTrafficLightButtons = false;
    bool m_verticallyCenterTitle = false;
    bool m_hideTitleBarInFullScreen = false;
    bool m_showsBaselineSeparator = true;
    double m_trafficLightButtonsLeftMargin = 0.0;
    double m_trafficLightButtonsTopMargin = 3.0;
    double m_fullScreenButtonRightMargin = 0.0;
    double m_fullScreenButtonTopMargin = 3.0;
    double m_trafficLightSeparation = 0.0;
    bool m_showsTitle = false;
    bool m_showsTitleInFullscreen = false;
    bool m_showsDocumentProxyIcon = false;
    unsigned m_styleMask = Titled | Closable | Miniaturizable | Resizable;
    bool m_inFullScreen = false;
    bool m_titleBarRevealed = false;
    bool m_togglingFullScreen = false;
    bool m_inLayout = false;
    bool m_preventWindowFrameChange = false;
    QRect m_normalGeometry;
    QUrl m_representedURL;
    ActivationStateHook m_activationHook;
    std::optional<bool> m_lastDrawsAsMain;
    QPointer<QObject> m_delegate;
    TBTitlebarContainer *m_container = nullptr;
    QPointer<QWidget> m_titleBarView;
    ImageButton *m_standard[4] = {}; // close, minimise, zoom, full screen
    ImageButton *m_documentIconButton = nullptr;
    ImageButton *m_versionsButton = nullptr;
    QPointer<TBDocument> m_document;
    QPointer<QAbstractButton> m_replacements[4];
    QLabel *m_titleField = nullptr;
    QList<TBWindowGrip *> m_grips;
};

namespace Kestrune {

// Whether the widget's window draws as the main window: a title-bar window's answer
// (its activation-state hook), otherwise whether that window is active. Chrome controls
// choose their active or inactive look by it.
bool windowDrawsAsMain(const QWidget *widget);

} // namespace Kestrune
