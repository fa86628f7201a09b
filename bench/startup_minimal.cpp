// The yardstick for the start-up benchmark: the smallest Qt Widgets program that shows a window.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Brivanto"));
    window.setWindowTitle(QStringLiteral("startup-minimal"));
    window.resize(400, 200);
    window.show();
    return app.exec();
}
