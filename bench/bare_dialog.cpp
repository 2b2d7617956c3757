// The yardsticks for the program's start-up: a Qt dialog of the main
// dialog's title, shown modally from main() as the framework shows the main
// dialog, and built with the same compiler flags.
//   (no option)  nothing in it;
//   --text       one line of text, so that it also sets up the fonts that
//                any text needs;
//   --controls   the main dialog's twenty controls, placed alike, built
//                straight on Qt: what the program's own layers add is the
//                difference.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

#include <cstring>

namespace {

// Where a control sits, in dialog units as the main dialog's template has it.
struct Spot {
    char kind; // e edit, p text pane, s slider, c list box, t editable box,
               // l label, f frame, i icon, b button
    const char* text;
    int x, y, cx, cy;
};

const Spot kSpots[] = {
    {'e', "", 155, 21, 51, 13},
    {'s', "", 5, 69, 97, 22},
    {'c', "", 155, 71, 60, 13},
    {'p', "", 7, 104, 290, 79},
    {'l', "Target Host Name or IP Address", 10, 11, 113, 8},
    {'l', "(Example: host.domain.nam or 127.0.0.1)", 10, 36, 136, 8},
    {'l', "Target Port Number", 155, 11, 62, 8},
    {'l', "Connection Count", 11, 60, 84, 8},
    {'f', "", 235, 5, 62, 93},
    {'i', "", 255, 67, 20, 20},
    {'l', "1", 11, 90, 12, 12},
    {'l', "5", 93, 90, 10, 10},
    {'l', "3", 52, 90, 11, 10},
    {'b', "&Connect", 241, 10, 50, 13},
    {'b', "&Stop", 241, 26, 50, 14},
    {'b', "&Quit", 241, 43, 50, 14},
    {'b', "", 242, 61, 49, 31},
    {'l', "Service List", 155, 61, 59, 8},
    {'l', ":", 145, 22, 8, 10},
    {'t', "", 10, 21, 133, 13},
};

QWidget* Make(const Spot& spot, QDialog& dialog, const QPixmap& icon) {
    switch (spot.kind) {
    case 'e':
        return new QLineEdit(&dialog);
    case 'p': {
        auto* pane = new QPlainTextEdit(&dialog);
        pane->setReadOnly(true);
        pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return pane;
    }
    case 's': {
        auto* slider = new QSlider(Qt::Horizontal, &dialog);
        slider->setRange(0, 4);
        slider->setTickPosition(QSlider::TicksBelow);
        return slider;
    }
    case 'c': {
        auto* list = new QComboBox(&dialog);
        for (int i = 0; i < 21; ++i)
            list->addItem(QString("Service %1").arg(i));
        return list;
    }
    case 't': {
        auto* box = new QComboBox(&dialog);
        box->setLineEdit(new QLineEdit(box));
        box->addItems({"127.0.0.1", "a.example", "b.example"});
        box->setEditText(QString());
        return box;
    }
    case 'f': {
        auto* frame = new QFrame(&dialog);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return frame;
    }
    case 'i': {
        auto* label = new QLabel(&dialog);
        label->setPixmap(icon);
        return label;
    }
    case 'b': {
        auto* button = new QPushButton(QString::fromLatin1(spot.text), &dialog);
        if (!*spot.text) {
            button->setIcon(icon);
            button->setFlat(true);
        }
        return button;
    }
    default:
        return new QLabel(QString::fromLatin1(spot.text), &dialog);
    }
}

void AddControls(QDialog& dialog) {
    QPixmap icon(32, 32);
    icon.fill(Qt::darkGray);
    dialog.setWindowIcon(icon);
    QFont font = dialog.font(); // the template's size
    font.setPointSize(8);
    dialog.setFont(font);
    const QFontMetrics metrics(dialog.font());
    const int baseX =
        (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 +
         1) /
        2;
    const int baseY = metrics.height();
    dialog.setFixedSize(305 * baseX / 4, 193 * baseY / 8);
    for (const Spot& spot : kSpots) {
        QWidget* widget = Make(spot, dialog, icon);
        widget->setGeometry(spot.x * baseX / 4, spot.y * baseY / 8, spot.cx * baseX / 4,
                            spot.cy * baseY / 8);
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle("KeltoCONNECT");
    dialog.resize(460, 170);
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "--text") == 0)
        new QLabel("Target Host Name or IP Address", &dialog);
    else if (std::strcmp(mode, "--controls") == 0)
        AddControls(dialog);
    return dialog.exec();
}
