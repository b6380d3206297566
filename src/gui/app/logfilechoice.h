#pragma once
#include <QString>
#include <QStringList>

class QMimeData;
class QWidget;

// Log files named by a drag and drop: the local files among the dropped URLs, in their order.
// Folders and remote URLs are left out; an empty list means the drop is not for us.
QStringList DroppedLogFiles(const QMimeData* data);

// Asks for a log file to open ("Open log", log files first). folder is where the dialog
// starts and, after a choice, the chosen file's folder. Empty when the user cancels.
QString ChooseLogFile(QWidget* parent, QString& folder);
