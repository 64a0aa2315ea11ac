#pragma once

class MainWindow;
class QVAppDelegate;

// What loading the window description does on the platform: attaches the ten
// elements to the controller and connects every command of the window to the
// controller's method of the same name.
void attachWindow(MainWindow& window, QVAppDelegate& controller);
