#pragma once

#include <QString>

class DesktopWindow;
struct ConfirmingAlert;

// What window_screenshot shows of the changes, on the ROM tab once its audit
// has run. Fill and Undo go on from one step to the next.
struct ChangeShot {
    bool nearMisses = false;    // the near misses' view
    bool fill = false;          // the fill view (the chooser answers with the source)
    QString fillInto;           // with this folder of its tree picked
    bool copy = false;          // then what it offers copied
    bool undo = false;          // then undone (the near misses renamed first without a fill), and the notice
    bool undoQuestion = false;  // or Undo's question, open
    bool shellUndo = false;     // or the renames undone as the command line does, then Undo's alert
    bool tooltip = false;       // the tooltip of Fill from Folder…
};

// Takes the picture of `shot` into `out`; false when it could not be saved.
bool shootChanges(DesktopWindow& desktop, ConfirmingAlert& alert, const ChangeShot& shot, const QString& out);
