// Parvello: prints photographs in portrait-studio package sizes.
#include "app/frmcovercreator.h"
#include "app/frmsplash.h"

#include <QApplication>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("parvello");
    QApplication::setApplicationDisplayName("Parvello");
    QApplication::setOrganizationName("Quenwick");
    QGuiApplication::setDesktopFileName("parvello");

    // "Open with Parvello" hands over one picture.
    const QStringList args = QApplication::arguments();
    const QString picture = args.size() > 1 ? args.at(1) : QString();

    // Built while the splash shows, shown when it goes.
    std::unique_ptr<frmcovercreator> main;
    auto build = [&main] {
        if (!main)
            main = std::make_unique<frmcovercreator>();
    };
    auto* splash = new frmSplash(build, [&main, build, picture] {
        build();
        main->show();
        if (!picture.isEmpty())
            main->openFile(picture);
    });
    splash->show();
    return app.exec();
}
