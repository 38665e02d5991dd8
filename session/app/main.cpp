// The quenlo client.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("quenlo");
    return 0;
}
