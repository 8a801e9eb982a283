// blokinst: copies Blokfall from the folder it is started in to a folder the user chooses and
// adds the game and its help to the desktop's menu.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <filesystem>

#include "qt_setup_host.h"
#include "quiet_messages.h"
#include "setup_window.h"

int main(int argc, char** argv) {
    blok::qt::InstallQuietMessageHandler();
    QApplication app(argc, argv);
    namespace setup = blok::setup;

    std::error_code ignored;
    const std::filesystem::path here = std::filesystem::current_path(ignored);
    const setup::SetupContext context{here, here, setup::DataDirs::FromEnvironment()};

    setup::qt::SetupWindow window;
    setup::qt::QtSetupHost host(window);
    QObject::connect(&window, &setup::qt::SetupWindow::firstPainted,
                     [&] { QApplication::exit(setup::RunSetup(context, host)); });
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.setGeometry(screen->geometry());
    }
    window.showFullScreen();
    return app.exec();
}
