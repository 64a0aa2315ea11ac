#pragma once

class MainWindow;
class QVAppDelegate;

// What loading the window description does on the platform: attaches the
// window's elements to the controller and connects every command of the
// window to the controller's method of the same name. The one place where
// widgets meet the controller; the changes (gui/changes), handed their
// elements by it, connect their own.
void attachWindow(MainWindow& window, QVAppDelegate& controller);
