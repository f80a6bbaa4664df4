#include "app/mdlMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication oQtApplication(argc, argv);
    mdlMain::Main();
    const int iExitCode = QApplication::exec();
    mdlMain::End();
    return iExitCode;
}
