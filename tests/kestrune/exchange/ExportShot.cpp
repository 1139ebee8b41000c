// Screenshot harness for the key browser's export: a strip with the export button, the
// info text and a busy indicator, wired to KeyBrowserExchange as the key browser will be.
// Shoots the open export menu, then the strip while a long export runs.
//
//   kestrune_export_shot --port P --out FOLDER
//
// Run under Xvfb: xvfb-run -a -s '-screen 0 1280x800x24' kestrune_export_shot ...

#include <kestrune/exchange/ExchangeClasses.h>
#include <kestrune/exchange/KeyBrowserExchange.h>

#include <kestrune/data/DataClasses.h>
#include <kestrune/data/deraz/DerazConnection.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/records/DBProfile.h>

#include <corbelan/services/FilePanel.h>

#include <QtCore/QCommandLineParser>
#include <QtCore/QDir>
#include <QtCore/QTimer>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

namespace {

class FixedSavePanel : public Corbelan::FilePanel
{
public:
    explicit FixedSavePanel(QString path)
        : m_path(std::move(path))
    {
    }
    std::optional<QStringList> runOpenPanel(const Corbelan::OpenPanelOptions &) override
    {
        return std::nullopt;
    }
    std::optional<QString> runSavePanel(const Corbelan::SavePanelOptions &) override { return m_path; }

private:
    QString m_path;
};

void shoot(const QString &path)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    screen->grabWindow(0).save(path);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions(
        {{"port", "server port", "port", "6379"}, {"out", "folder for the pictures", "out", "."}});
    parser.process(app);
    Kestrune::registerDataClasses();
    Kestrune::registerExchangeClasses();
    const QString out = parser.value("out");
    QDir().mkpath(out);

    auto profile = std::make_shared<DBProfile>();
    profile->setScheme(kDerazURLScheme);
    profile->setHost(QStringLiteral("127.0.0.1"));
    profile->setPort(parser.value("port").toInt());
    profile->urlFormat();
    auto connection = std::make_shared<DerazConnection>(profile);
    Bastwick::Error error;
    if (!connection->open(&error)) {
        qWarning("connect failed: %s", qPrintable(error.description));
        return 2;
    }
    auto db = std::dynamic_pointer_cast<DerazDatabase>(connection->takeDatabases().value(0));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Browse"));
    auto *layout = new QVBoxLayout(&window);
    auto *table = new QTableWidget(12, 5);
    table->setHorizontalHeaderLabels({"Key", "Value", "Type", "Size", "TTL"});
    layout->addWidget(table);
    auto *strip = new QHBoxLayout;
    auto *exportButton = new QToolButton;
    exportButton->setText(QObject::tr("Export"));
    auto *info = new QLabel(QObject::tr("%1 keys").arg(db->numberOfKeys()));
    auto *spinner = new QProgressBar;
    spinner->setRange(0, 0);
    spinner->setMaximumWidth(80);
    spinner->hide();
    strip->addWidget(exportButton);
    strip->addWidget(info, 1);
    strip->addWidget(spinner);
    layout->addLayout(strip);
    window.resize(720, 420);
    window.move(40, 40);
    window.show();

    KeyBrowserExchange exchange(nullptr, std::make_shared<FixedSavePanel>(QDir(out).filePath("keys.json")),
                                [db] { return db; });
    QObject::connect(&exchange, &KeyBrowserExchange::exportInfoChanged, info, &QLabel::setText);
    QObject::connect(&exchange, &KeyBrowserExchange::exportBusyChanged, spinner, &QWidget::setVisible);
    QObject::connect(exportButton, &QToolButton::clicked, &window, [&] {
        exchange.exportBtnClicked(1, exportButton->mapToGlobal(QPoint(0, exportButton->height() + 4)));
    });

    bool shotProgress = false;
    QTimer::singleShot(500, [&] { exportButton->click(); });
    QTimer::singleShot(1200, [&] { shoot(QDir(out).filePath("export-menu.png")); });
    QTimer::singleShot(1500, [&] {
        exchange.exportMenu()->hide();
        exchange.exportMenu()->actions().at(0)->trigger();
    });
    QObject::connect(&exchange, &KeyBrowserExchange::exportInfoChanged, &app, [&](const QString &text) {
        if (!shotProgress && text.startsWith(QLatin1String("Exported ")) &&
            text.contains(QLatin1String(" of "))) {
            shotProgress = true;
            // After the label has painted the new text.
            QTimer::singleShot(30, [&] { shoot(QDir(out).filePath("export-progress.png")); });
        }
    });
    QObject::connect(&exchange, &KeyBrowserExchange::exportFileReady, &app, [&] {
        QTimer::singleShot(300, [&] {
            shoot(QDir(out).filePath("export-done.png"));
            app.quit();
        });
    });
    return app.exec();
}
