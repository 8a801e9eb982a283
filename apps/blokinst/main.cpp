// blokinst: copies Blokfall from the folder it is started in to a folder the user chooses and
// adds the game and its help to the desktop's menu.
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <filesystem>
#include <iostream>
#include <string>

#include "command_line.h"
#include "qt_setup_host.h"
#include "quiet_messages.h"
#include "setup_window.h"

namespace {

// The game's icon as built into this program, for the menu entries.
std::string GameIcon() {
    QFile icon(QStringLiteral(":/icons/blokfall-256.png"));
    return icon.open(QIODevice::ReadOnly) ? icon.readAll().toStdString() : std::string();
}

// The boxes speak to the user; only a failure is also left on the terminal.
int RunSetupReportingFailure(const blok::setup::SetupContext& context,
                             blok::setup::qt::QtSetupHost& host) {
    const int status = blok::setup::RunSetup(context, host);
    if (status != 0) std::cerr << "blokinst: " << host.lastMessage() << std::endl;
    return status;
}

std::string HelpText(const std::string& command) {
    return "Usage: " + command +
           " [--help | --version]\n"
           "\n"
           "Installs Blokfall from the folder it is started in (the game, its help, the readme\n"
           "texts and the songs, as the distribution folder holds them) into a folder you\n"
           "choose, and adds the game and its help to your desktop's menu, under\n"
           "$XDG_DATA_HOME/applications/Blokfall (usually ~/.local/share/applications/Blokfall).\n"
           "It needs a display: it asks for the folder in a dialog.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "Exit status: 0 when installed or cancelled, 1 when the installation failed or no\n"
           "display can be opened.\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = blok::qt::AnswerHelpOrVersion(
            argc, argv, HelpText(blok::qt::CommandName(argv[0])), "blokinst (Blokfall)")) {
        return *status;
    }
    blok::qt::InstallQuietMessageHandler();
    blok::qt::ExitPlainlyWithoutDisplay("blokinst");
    QApplication app(argc, argv);
    namespace setup = blok::setup;

    std::error_code ignored;
    const std::filesystem::path here = std::filesystem::current_path(ignored);
    const setup::SetupContext context{here, here, setup::DataDirs::FromEnvironment(), GameIcon()};

    setup::qt::SetupWindow window;
    setup::qt::QtSetupHost host(window);
    QObject::connect(&window, &setup::qt::SetupWindow::firstPainted,
                     [&] { QApplication::exit(RunSetupReportingFailure(context, host)); });
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.setGeometry(screen->geometry());
    }
    window.showFullScreen();
    return app.exec();
}
