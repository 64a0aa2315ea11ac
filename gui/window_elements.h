#pragma once

#include "core/session/per_kind.h"

#include <array>

class BusyIndicator;
class FillView;
class NearMissesView;
class NoticeArea;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTabWidget;
class QToolButton;
class QWidget;
class ReportView;
class SegmentedControl;
class SystemBarsView;

// The elements of one tab, the same for either kind of audit. The window
// fills them by name; a command or widget that a tab gains is one more member
// here, given by the window and read by the controller.
struct TabElements {
    QWidget* page = nullptr;  // the tab's page in the tab view
    QAction* audit = nullptr;
    QAction* save = nullptr;  // "Save Reports…"
    SegmentedControl* resultControl = nullptr;
    ReportView* resultView = nullptr;  // its menu's Set Aside… belongs to the changes
    QLineEdit* filterField = nullptr;  // Esc clears it
    NoticeArea* noticeArea = nullptr;  // what the user should know about the results
};

// The elements of one tab that offer changes to the collection: the
// controller hands them on to the window's changes (gui/changes) unread.
struct TabChangeElements {
    QToolButton* nearMissesButton = nullptr;  // "3 near misses…": opens nearMissesView
    NearMissesView* nearMissesView = nullptr;
    QToolButton* fillButton = nullptr;  // "Fill from Folder…": chooses a folder, then opens fillView
    FillView* fillView = nullptr;
};

struct ChangeElements {
    tokenade::PerKind<TabChangeElements> tabs;
    QAction* undoLastChanges = nullptr;  // Audit › Undo Last Changes
    QAction* exportFixdat = nullptr;     // File › Export Fixdat…: needs the identification by content
    QProgressBar* identifyProgress = nullptr;  // archives identified by content against the DAT
    QToolButton* stopIdentify = nullptr;       // stops that identification
};

// What the window hands its controller: the elements that the controller's
// getters name, each tab's own elements, the window's other commands, and
// the elements of the changes.
// Built with designated initializers, so that no two elements can trade
// places unnoticed.
struct WindowElements {
    QWidget* window = nullptr;  // the main window itself: its size and place are kept between runs
    QLineEdit* tokenadeDirPathTextField = nullptr;
    QLineEdit* romsListPathTextField = nullptr;
    QLineEdit* datPathTextField = nullptr;  // optional: the changes identify archives by content against it
    QCheckBox* checkAvailableRomVideosOnly = nullptr;
    QLabel* progressLabel = nullptr;
    BusyIndicator* progressIndicator = nullptr;
    QTabWidget* tabView = nullptr;
    tokenade::PerKind<TabElements> tabs;  // romsResultView is tabs[Roms].resultView, and so on

    QAction* selectTokenadeDirectory = nullptr;
    QAction* selectRomsListFile = nullptr;
    QAction* selectDatFile = nullptr;
    QAction* openHomepage = nullptr;
    QAction* showAbout = nullptr;
    QAction* quit = nullptr;
    QAction* focusFilter = nullptr;  // Ctrl+F
    std::array<QAction*, 4> pickCategory{};  // Ctrl+1 to Ctrl+4: the segments of the shown tab
    SystemBarsView* systemBars = nullptr;    // beside the ROM results: handed to the systems' panel unread

    ChangeElements changes;
};
