// Opening the machine parameter dialog from the main window.

#include "app/mainwindow.h"

#include "device/modbusthread.h"
#include "machine/machineparameter.h"

#include <QStatusBar>

// The dialog and the thread object both live in the GUI thread, so the read below
// fills the fields before the call returns; deleting the dialog on close also drops
// its connections.
void MainWindow::on_actionmachine_parameter_triggered()
{
    auto *dialog = new machineParameter(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(deviceThread, SIGNAL(sendSystemSetting(QVector<float>,QVector<int>)), dialog,
            SLOT(receiveSystemSetting(QVector<float>,QVector<int>)));
    connect(dialog, SIGNAL(systemSetRequest(int)), deviceThread, SLOT(getSystemSet(int)));
    connect(deviceThread, SIGNAL(sendSystemData(QVector<float>,QVector<int>)), dialog,
            SLOT(receiveSystemData(QVector<float>,QVector<int>)));
    connect(dialog, SIGNAL(systemDataRequest(int,int)), deviceThread, SLOT(getSystemData(int,int)));
    connect(dialog, SIGNAL(systemSetChangeRequest(QVector<float>,QVector<int>)), deviceThread,
            SLOT(changeSystemSet(QVector<float>,QVector<int>)));
    connect(dialog, &machineParameter::systemSetChangeRequest, this,
            [this] { statusBar()->showMessage(tr("Machine parameters sent to the controller.")); });
    deviceThread->getSystemSet(1);
    dialog->exec();
}
