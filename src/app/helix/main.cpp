// quillwork-helix: the helix generator, started by the main program's
// Helix generator menu or on its own.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "ui/helix_window.h"
#include "version.h"

namespace {

const char* const kHelp =
    "Usage: quillwork-helix [--help] [--version] [--screenshot FILE.png]\n\n"
    "Opens the helix generator's window: the number of turns, the helix's diameter or\n"
    "circumference, the turn spacing or the pitch angle, the segments per turn, the wire\n"
    "diameter, right- or left-handed winding, an optional ground plane or reflector of\n"
    "radials, the frequency and the unit. Create Project... writes a QUILLWORK project\n"
    "file (one straight wire per segment) and opens it in quillwork, looked for beside\n"
    "this program and then on the PATH.\n\n"
    "  --screenshot FILE.png  save a picture of the window to FILE.png and quit\n";

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("quillwork-helix %s\n", qw::kVersionText);
            return 0;
        }
    }
    // The main program starts the generator with the argument "h101";
    // any other argument is left to Qt.
    QApplication app(argc, argv);
    qw::HelixWindow window;
    window.show();
    const QStringList args = app.arguments();
    const qsizetype shot = args.indexOf("--screenshot");
    if (shot >= 0) {
        if (shot + 1 >= args.size()) {
            std::fputs("quillwork-helix: --screenshot needs a file name\n", stderr);
            return 1;
        }
        const QString file = args[shot + 1];
        int status = 0;
        QTimer::singleShot(300, &window, [&] {
            if (!window.grab().save(file)) {
                std::fprintf(stderr, "quillwork-helix: cannot write %s\n", qPrintable(file));
                status = 1;
            }
            app.quit();
        });
        app.exec();
        return status;
    }
    return app.exec();
}
