#pragma once

#include <QMainWindow>

#include <memory>

class BusyIndicator;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;
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

    QAction* selectTokenadeDirectory;
    QAction* selectRomsListFile;
    QAction* auditRoms;
    QAction* auditVideos;
    QAction* saveRomsResult;
    QAction* saveVideosResult;
    QAction* openHomepage;
    QAction* quit;
};

// The main window as its description lays it out. Nothing here acts on its
// elements: a controller does.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    const WindowElements& elements() const { return elements_; }

private:
    std::unique_ptr<Ui::MainWindow> ui_;
    WindowElements elements_;
};
