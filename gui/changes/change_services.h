#pragma once

class Alert;
class FileChooser;
class JobRunner;
class Preferences;
namespace tokenade {
class AuditSession;
}

// What the window's changes work with, the same for all of them. Each must
// outlive whatever it is handed to. The offers, their ticks and what the
// window may do now are the session's; the changes keep no copy of them.
// Plans and batches run as jobs of `jobs`, whose callbacks lead back to the
// class that started them: `jobs` stops them (JobRunner::stopAll) before
// any of those classes goes.
struct ChangeServices {
    tokenade::AuditSession& session;
    JobRunner& jobs;
    FileChooser& chooser;
    Alert& alert;
    Preferences& preferences;  // the dialogs' sizes
};
