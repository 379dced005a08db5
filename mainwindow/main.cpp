// Process entry of the desktop client.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Tarmel ");
    window.resize(825, 596);
    window.show();
    return app.exec();
}
