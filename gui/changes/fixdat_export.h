#pragma once

#include "gui/changes/change_services.h"

#include <QObject>

class QAction;

// Export Fixdat…: the list's missing games that the DAT knows, written as a
// Logiqx DAT where the user chooses, from the identification by content of
// the last ROM result (AuditSession::identification), so enabled only while
// there is one. The chosen file goes through the command line's refusals:
// never the DAT, the list, a file inside the collection, a link or what is
// no regular file. Says what it wrote, or why it wrote nothing. The chooser
// starts in the folder of the last export.
class FixdatExport : public QObject {
public:
    // `command` and `services` must outlive this.
    FixdatExport(QAction* command, const ChangeServices& services);

    void showCommands();

private:
    void exportFixdat();

    QAction* command_;
    ChangeServices services_;
};
