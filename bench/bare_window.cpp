// The yardstick: a bare Qt program that shows one empty window.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(388, 405);
    window.show();
    return app.exec();
}
