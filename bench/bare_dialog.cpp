// The yardstick for the program's start-up: a Qt dialog with nothing in it,
// of the main dialog's title, shown modally from main() as the framework
// shows the main dialog, and built with the same compiler flags. With
// --text it shows one line of text, so that it also sets up the fonts that
// any text needs.
#include <QApplication>
#include <QDialog>
#include <QLabel>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle("KeltoCONNECT");
    dialog.resize(460, 170);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        new QLabel("Target Host Name or IP Address", &dialog);
    return dialog.exec();
}
