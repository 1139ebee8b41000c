#pragma once

#include <kestrune/chrome/TBWindow.h>

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtGui/QColor>

class KSTTrafficLightsView;

// The application's main window: a 36-pixel title bar drawn in grey with inset lines and
// a faint noise, traffic lights at its left, the full-screen button centred at its right
// end and, left of it, the home and about buttons, which post "HomeMsg" and "AboutMsg".
// The user default "windowAlwaysOnTop" keeps it above other windows. Its body is filled
// by the root screen. Main thread.
class KSTMainWindow : public TBWindow
{
    Q_OBJECT
public:
    explicit KSTMainWindow(QWidget *parent = nullptr);

    KSTTrafficLightsView *trafficLightsView() const { return m_trafficLightsContainer; }
    // The title-bar buttons laid out at the right end, in order (home, about).
    QList<QAbstractButton *> userButtons() const { return m_userButtons; }
    void setUserButtons(const QList<QAbstractButton *> &buttons) { m_userButtons = buttons; }

    // The title bar's colours by name, the "Unemphasized" ones for the inactive look.
    static QHash<QString, QColor> titleBarColorList();
    // The noise laid over the bar, made once and shared by every main window.
    static QImage noisePattern();

    void layoutTrafficLightsAndContent() override;

public slots:
    void toggleFullScreen() override;
    void homeBtnClicked();
    void aboutBtnClicked();
    void shareBtnClicked();

private:
    void createAndPositionTrafficLights();
    void awakeFromNib();
    void drawTitleBar(QPainter &painter, bool drawsAsMain, const QRectF &rect, const QPainterPath &clip,
                      const QHash<QString, QColor> &colors);

    KSTTrafficLightsView *m_trafficLightsContainer = nullptr;
    QList<QAbstractButton *> m_userButtons;
};
