// quillwork: the desktop program. One optional argument, a project file to
// open; --screenshots FOLDER [FILE] takes pictures of the main window and of
// every dialog instead of waiting for the user.
#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <string>

#include "model/context.h"
#include "model/file_locations.h"
#include "solver/solver.h"
#include "ui/main_window.h"
#include "ui/qt_host.h"
#include "ui/screenshot_mode.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Numbers are read and written with "." whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("QUILLWORK");
    QApplication::setOrganizationName("QUILLWORK");

    // The file named on the command line, made absolute before anything
    // else could change the current folder.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    QString screenshots;
    if (!args.isEmpty() && args.front() == "--screenshots") {
        if (args.size() < 2) {
            std::fprintf(stderr, "Usage: quillwork [FILE] | quillwork --screenshots FOLDER [FILE]\n");
            return 2;
        }
        screenshots = args[1];
        args = args.mid(2);
    }
    const std::string file = args.isEmpty() ? std::string() : QFileInfo(args.front()).absoluteFilePath().toStdString();

    qw::QtHost host;
    qw::Context ctx(host);
    qw::InstallSolver(ctx);
    ctx.files = qw::LocateFiles(qw::SystemLocationInputs());
    const std::string why = qw::CreateFileFolders(ctx.files);
    if (!why.empty()) std::fprintf(stderr, "quillwork: %s\n", why.c_str());

    qw::MainWindow window(ctx, host);
    window.show();
    window.Start(file);
    if (!screenshots.isEmpty()) return qw::TakeScreenshots(window, ctx, screenshots) ? 0 : 1;
    return QApplication::exec();
}
