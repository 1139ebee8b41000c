#include <kestrune/shell/KSTMainWindow.h>

#include <QtWidgets/QWidget>

KSTMainWindow::KSTMainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Kestrune"));
    setObjectName(QStringLiteral("KSTMainWindow"));
    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("MainBody"));
    setCentralWidget(body);
    resize(1000, 600);
}
