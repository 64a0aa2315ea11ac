#pragma once

#include <QMainWindow>

#include <array>
#include <memory>

class BusyIndicator;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;
class NearMissesView;
class ReportView;
class SegmentedControl;

namespace Ui {
class MainWindow;
}

// The elements of the window that a controller works with, and the commands
// it offers.
struct WindowElements {
    QLineEdit* tokenadeDirPathTextField;
    QLineEdit* romsListPathTextField;
    ReportView* romsResultView;
    SegmentedControl* romsResultControl;
    ReportView* videosResultView;
    SegmentedControl* videosResultControl;
    QCheckBox* checkAvailableRomVideosOnly;
    QLabel* progressLabel;
    BusyIndicator* progressIndicator;
    QTabWidget* tabView;

    QLabel* romsNotice;  // what the user should know about a tab's results
    QLabel* videosNotice;
    QLineEdit* romsFilterField;  // Esc clears it
    QLineEdit* videosFilterField;
    QToolButton* romsNearMissesButton;  // "3 near misses…": opens the view of them
    QToolButton* videosNearMissesButton;
    NearMissesView* romsNearMisses;  // the views of the files there under another name
    NearMissesView* videosNearMisses;

    QAction* selectTokenadeDirectory;
    QAction* selectRomsListFile;
    QAction* auditRoms;
    QAction* auditVideos;
    QAction* saveRomsResult;
    QAction* saveVideosResult;
    QAction* openHomepage;
    QAction* showAbout;
    QAction* quit;
    QAction* focusFilter;                    // Ctrl+F
    QAction* undoLastRenames;
    std::array<QAction*, 4> pickCategory;    // Ctrl+1 to Ctrl+4: the segments of the shown tab
};

// The main window as its description lays it out. Nothing here acts on its
// elements: a controller does. A folder dropped on the window is offered as
// the Tokenade directory, a ".txt" file as the supported roms list.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    const WindowElements& elements() const { return elements_; }

Q_SIGNALS:
    void directoryDropped(const QString& path);
    void listDropped(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    NearMissesView* nearMissesView(const QString& kind);

    std::unique_ptr<Ui::MainWindow> ui_;
    WindowElements elements_;
};
