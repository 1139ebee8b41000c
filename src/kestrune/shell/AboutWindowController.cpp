#include <kestrune/shell/AboutWindowController.h>

#include <pavisade/viewcontrollers/Localization.h>

#include <QtGui/QIcon>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>

QWidget *AboutWindowController::loadWindow()
{
    auto *window = new QDialog;
    window->setObjectName(QStringLiteral("AboutWindow"));
    window->setWindowTitle(Pavisade::localizedString(QStringLiteral("About")));
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(32, 24, 32, 24);
    auto *icon = new QLabel(window);
    icon->setPixmap(QIcon(QStringLiteral(":/images/AppIcon.svg")).pixmap(96, 96));
    icon->setAlignment(Qt::AlignCenter);
    auto *name = new QLabel(QApplication::applicationDisplayName(), window);
    name->setObjectName(QStringLiteral("appName"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    const QString versionText =
        QApplication::applicationVersion().isEmpty()
            ? QString()
            : Pavisade::localizedString(QStringLiteral("Version %1")).arg(QApplication::applicationVersion());
    auto *version = new QLabel(versionText, window);
    version->setObjectName(QStringLiteral("appVersion"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    layout->addWidget(name);
    layout->addWidget(version);
    window->setFixedSize(300, 240);
    return window;
}
