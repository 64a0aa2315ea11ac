#pragma once

#include "gui/changes/change_services.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>
#include <stop_token>
#include <string>

namespace tokenade {
struct DatProblem;
}
class QLineEdit;
class QProgressBar;
class QToolButton;
class ReportView;

// Identifies the archives of the last ROM result by content, against the
// DAT its field names, on a job that reads a snapshot of the paths and hands
// back the whole identification, which the session keeps, with what the
// unknown archives hold for the ROM result view to show. A progress bar
// counts the archives read, and Stop ends the job. It starts again for each
// new ROM result and once the DAT field has stayed still a moment; a DAT
// that cannot be read gets an alert with its file, line and column, and the
// ROM tab's notice says that identification by content is off. Before any
// ROM result, a DAT chosen is read alone, for that alert.
class ContentIdentifier : public QObject {
    Q_OBJECT

public:
    // `datField`, `romsView`, `progress`, `stop` and `services` must outlive this.
    ContentIdentifier(QLineEdit* datField, ReportView* romsView, QProgressBar* progress, QToolButton* stop,
                      const ChangeServices& services);
    ~ContentIdentifier() override;

    // Identifies the last ROM result's archives, when the session wants it;
    // one still running for an earlier result or DAT is stopped.
    void identify();

Q_SIGNALS:
    // The session's identification changed (made, or dropped with the DAT):
    // whatever is offered by content is planned anew.
    void identificationChanged();

private:
    struct Counts {
        std::atomic<size_t> found{0};
        std::atomic<size_t> read{0};
    };

    void checkDat(const std::string& datPath);
    void datUnusable(const std::string& datPath, const tokenade::DatProblem& problem);
    void stop();
    void showProgress();

    QLineEdit* datField_;
    ReportView* romsView_;
    QProgressBar* progress_;
    QToolButton* stopButton_;
    ChangeServices services_;
    std::shared_ptr<Counts> counts_;            // of the running job; null while none runs
    std::shared_ptr<std::stop_source> running_;  // its own stop, beside the runner's
    QTimer ticker_;                             // shows the counts while the job runs
    QTimer fieldStill_;                         // a DAT read per key typed would be for nothing
    std::string datTaken_;                      // the DAT the last identification was asked with
};
