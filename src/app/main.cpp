// The program's entry: the application named "Orlenta", its main window, the message loop.

#include "gui/mainwindow/MainForm.h"
#include "gui/OrlentaApplication.h"

#include <QScreen>
#include <QStyle>

int main(int argc, char** argv) {
    orlenta::TOrlentaApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    orlenta::TMainForm mainForm(arguments);
    application.SetErrorHandler(
        [&mainForm](std::exception_ptr error) { mainForm.HandleException(error); });
    // Centred on the screen at first.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        mainForm.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, mainForm.size(),
                                                 screen->availableGeometry()));
    mainForm.show();
    return QApplication::exec();
}
