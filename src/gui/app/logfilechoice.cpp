#include "app/logfilechoice.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

QStringList DroppedLogFiles(const QMimeData* data)
{
    QStringList out;
    if (!data || !data->hasUrls())
        return out;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (QFileInfo(path).isFile())
            out << path;
    }
    return out;
}

QString ChooseLogFile(QWidget* parent, QString& folder)
{
    QFileDialog dialog(parent, "Open log", folder, "Log Files (*.log);;All Files (*)");
    dialog.setObjectName("OpenLogDialog");
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    folder = QFileInfo(path).absolutePath();
    return path;
}
