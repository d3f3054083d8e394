// quillwork: the desktop program.
#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Numbers are read and written with "." whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    return 0;
}
