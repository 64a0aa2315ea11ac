#pragma once

class Alert;
class Browser;
class FileChooser;
class JobRunner;
class Preferences;

// The services of the desktop that the controller uses, replaceable in tests,
// and the runner that owns its background work. Each must outlive the
// controller.
struct PlatformSeams {
    FileChooser& chooser;
    Alert& alert;
    Browser& browser;
    Preferences& preferences;
    JobRunner& jobs;
};
