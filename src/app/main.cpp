// The program's entry: the application named "Orlenta", its main window in the user's language,
// the message loop.

#include "gui/OrlentaApplication.h"
#include "gui/Translations.h"
#include "gui/mainwindow/MainForm.h"

int main(int argc, char** argv) {
    orlenta::TOrlentaApplication application(argc, argv);
    const orlenta::TTranslations translations(QLocale::system());
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    orlenta::TMainForm mainForm(arguments);
    application.SetErrorHandler(
        [&mainForm](std::exception_ptr error) { mainForm.HandleException(error); });
    mainForm.show();
    return QApplication::exec();
}
