#pragma once

#include "gui/window_elements.h"

#include <QMainWindow>

#include <memory>

class FillView;
class NearMissesView;
class SystemBarsView;

namespace Ui {
class MainWindow;
}

// The main window as its description lays it out. Nothing here acts on its
// elements: a controller does. A folder dropped on the window is offered as
// the Tokenade directory, a ".txt" file as the supported roms list, a
// ".dat" or ".xml" file as the DAT.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    const WindowElements& elements() const { return elements_; }

Q_SIGNALS:
    void directoryDropped(const QString& path);
    void listDropped(const QString& path);
    void datDropped(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    NearMissesView* nearMissesView(const QString& kind);
    FillView* fillView(const QString& kind);
    std::array<QAction*, 4> addPickCategoryKeys();
    SystemBarsView* systemBars();

    std::unique_ptr<Ui::MainWindow> ui_;
    WindowElements elements_;
};
