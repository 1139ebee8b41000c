#include <kestrune/tree/DarkListLook.h>

#include <QtGui/QColor>
#include <QtGui/QPalette>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QScrollBar>

namespace Kestrune {

void applyDarkListLook(QAbstractItemView *view, QWidget *screen)
{
    const QColor background(0x2c, 0x31, 0x35);
    if (view) {
        QPalette palette = view->palette();
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::AlternateBase, background.lighter(108));
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::Text, QColor(0xe4, 0xe6, 0xe8));
        palette.setColor(QPalette::Highlight, QColor(0x3d, 0x6f, 0xb4));
        palette.setColor(QPalette::HighlightedText, Qt::white);
        // Expand arrows are drawn in the window text colour: light, like the text.
        palette.setColor(QPalette::WindowText, QColor(0xb8, 0xbe, 0xc4));
        view->setPalette(palette);
        view->setAutoFillBackground(true);
        view->setStyleSheet(QStringLiteral(
            "QScrollBar:vertical { background: #2c3135; width: 10px; margin: 0; border: none; }"
            "QScrollBar::handle:vertical { background: #59626a; min-height: 24px; border-radius: 4px;"
            " margin: 1px 2px; }"
            "QScrollBar::handle:vertical:hover { background: #6f7982; }"
            "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: none; }"
            "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"
            "QHeaderView::section { background: #23272a; color: #c9ced3; border: none;"
            " border-bottom: 1px solid #3a4046; padding: 3px 6px; }"));
    }
    if (screen) {
        QPalette own = screen->palette();
        own.setColor(QPalette::Window, background);
        screen->setPalette(own);
        screen->setAutoFillBackground(true);
    }
}

} // namespace Kestrune
