// The yardstick: the smallest Qt Widgets program with a window of the main window's size and a
// few labels, ending once it has painted.
#include "bench/FirstPaint.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(382, 376);
    auto* layout = new QVBoxLayout(&window);
    for (const char* text : {"Vornale", "Lite"})
        layout->addWidget(new QLabel(QString::fromLatin1(text), &window));
    QuitOnFirstPaint quit(&window);
    window.show();
    return app.exec();
}
