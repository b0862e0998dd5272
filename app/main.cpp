// The program's main routine: the application, the desktop services and the main window.
#include "app/unit1.h"
#include "platform/qt_services.h"

#include <QApplication>
#include <QFileInfo>
#include <clocale>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Numbers are always written and read with a point, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName("Lapidrastor");
    QApplication::setApplicationName("Lapidrastor");

    QtMessageService messages;
    QtFileDialogService files;
    QtSettingsStore settings;
    QtWindowServices window;
    const Services services{messages, files, settings, window};

    // A design named relative to the shell's folder is kept with its full path, so that the recent
    // list can open it again from anywhere.
    const QStringList arguments = QApplication::arguments();
    const std::string commandLineFile =
        arguments.size() > 1 ? QFileInfo(arguments[1]).absoluteFilePath().toStdString() : "";
    Tstartform startform(services, commandLineFile);
    startform.show();
    return QApplication::exec();
}
