#include "records/filetowrite.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/windowtext.h"
#include "records/datadir.h"

bool mayReplace(QWidget *parent, const QString &title, const QString &chosen, const QString &path)
{
    if (path == chosen || !QFileInfo::exists(path))
        return true;
    return QMessageBox::question(parent, title,
                                 trWindow("%1 already exists.\nDo you want to replace it?")
                                     .arg(QDir::toNativeSeparators(path)),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

QString chooseFileToWrite(QWidget *parent, const QString &title, const QString &filter)
{
    const QString chosen =
        QFileDialog::getSaveFileName(parent, title, dataDir() + QLatin1Char('/') + fileStamp(), filter);
    if (chosen.isEmpty())
        return QString();
    const QString path = withFilterSuffix(chosen, filter);
    return mayReplace(parent, title, chosen, path) ? path : QString();
}
