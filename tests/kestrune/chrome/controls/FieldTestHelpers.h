#pragma once

#include <kestrune/chrome/TBWindow.h>

#include "support/WaitFor.h"

#include <QtCore/QObject>
#include <QtCore/QUrl>
#include <QtGui/QDesktopServices>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QVBoxLayout>

namespace FieldTest {

// A title-bar window whose body holds the widgets under test, shown; whether it draws
// as the main window is the test's to say (main, then activationStateDidChange()).
struct TestWindow
{
    TestWindow()
    {
        auto *body = new QWidget;
        layout = new QVBoxLayout(body);
        window.setCentralWidget(body);
        window.setActivationStateHook([this](const TBWindow *) { return main; });
        window.setGeometry(100, 80, 520, 360);
    }
    void show()
    {
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    void setMain(bool drawsAsMain)
    {
        main = drawsAsMain;
        window.activationStateDidChange();
    }

    TBWindow window;
    QVBoxLayout *layout = nullptr;
    bool main = true;
};

// Catches the URLs the desktop would open for a scheme while it lives.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    explicit UrlCatcher(const QString &scheme)
        : m_scheme(scheme)
    {
        QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(m_scheme); }

    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }

private:
    QString m_scheme;
};

inline QImage shot(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// Colour families of the styled fields' outlines.
inline bool isOrangeish(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 150 && qBlue(pixel) < 110;
}
inline bool isSteelish(QRgb pixel)
{
    return qBlue(pixel) > qRed(pixel) + 8 && qRed(pixel) > 90 && qRed(pixel) < 190 &&
           std::abs(qRed(pixel) - qGreen(pixel)) < 20;
}

} // namespace FieldTest
