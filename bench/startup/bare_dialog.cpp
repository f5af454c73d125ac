// The yardstick of start-up: a Qt Widgets program that shows one dialog and
// nothing else, built with the same flags as the program.
#include <QApplication>
#include <QDialog>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.show();
    return app.exec();
}
