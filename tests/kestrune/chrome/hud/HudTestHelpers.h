#pragma once

#include "support/WaitFor.h"

#include <QtGui/QImage>
#include <QtGui/QMouseEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <functional>
#include <optional>
#include <utility>

namespace HudTest {

// What the widget draws, on a transparent ground.
inline QImage shot(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// Sends a left-button mouse event to widget at its local pos; global defaults to where
// pos lies on the screen now.
inline void sendMouse(QWidget *widget, QEvent::Type type, const QPointF &pos, Qt::MouseButtons buttons,
                      std::optional<QPointF> global = std::nullopt)
{
    QMouseEvent event(type, pos, global.value_or(widget->mapToGlobal(pos)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// The number of pixels in rect for which test holds.
inline int countPixels(const QImage &image, const QRect &rect, const std::function<bool(QRgb)> &test)
{
    int count = 0;
    const QRect area = rect.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (test(image.pixel(x, y)))
                ++count;
        }
    }
    return count;
}

// The sum of the alpha channel over rect.
inline double sumAlpha(const QImage &image, const QRect &rect)
{
    double sum = 0;
    const QRect area = rect.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            sum += qAlpha(image.pixel(x, y));
    }
    return sum;
}

// Light ink: a pixel brighter than any part of the HUD's dark ground.
inline bool isLight(QRgb pixel)
{
    return qAlpha(pixel) > 128 && qGray(pixel) > 150;
}

// The first and last rows of rect that hold a pixel passing test, or {-1, -1}.
inline std::pair<int, int> inkRows(const QImage &image, const QRect &rect,
                                   const std::function<bool(QRgb)> &test)
{
    int first = -1;
    int last = -1;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        if (countPixels(image, QRect(rect.left(), y, rect.width(), 1), test) > 0) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    return {first, last};
}

} // namespace HudTest
