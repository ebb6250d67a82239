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

    std::unique_ptr<frmcovercreator> main;
    auto* splash = new frmSplash([&main] {
        main = std::make_unique<frmcovercreator>();
        main->show();
    });
    splash->show();
    return app.exec();
}
