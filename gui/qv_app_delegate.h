#pragma once

#include "core/session/audit_session.h"
#include "core/session/job_runner.h"
#include "core/session/name_filter.h"
#include "core/session/per_kind.h"
#include "gui/window_elements.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

class Alert;
class Browser;
class BusyIndicator;
class FileChooser;
class Preferences;
class ReportView;
class SegmentedControl;
namespace tokenade {
struct WriteError;
struct Change;
struct ChangeBatch;
struct ChangePlan;
enum class BatchKind;
}

// The services of the desktop that the controller uses, replaceable in tests,
// and the runner that owns its background work.
struct PlatformSeams {
    FileChooser& chooser;
    Alert& alert;
    Browser& browser;
    Preferences& preferences;
    JobRunner& jobs;
};

// The one controller of the window. It keeps the window's state in an
// AuditSession and turns it into widgets: every command and step is a short
// call into the session plus the widget updates. Commands and steps run on
// the main thread; audits and the list discovery run as jobs of the runner,
// on a copy of their inputs, and hand their results back whole, so no thread
// but the main one ever touches an element or a result list.
//
// What the controller keeps of each tab (its elements, its filter) is one
// entry of a table looked up by AuditKind; the commands named for one kind
// (auditRoms, saveVideosResult, ...) are entry points into the same code.
class QVAppDelegate : public QObject {
    Q_OBJECT

public:
    explicit QVAppDelegate(const PlatformSeams& seams, QObject* parent = nullptr);
    ~QVAppDelegate() override;  // teardown: stops the jobs, drops the elements

    // Takes the window's elements, which must stay alive until the controller
    // is destroyed. Once, before start-up.
    void attach(const WindowElements& elements);

    // Life of the application.
    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    // The ten commands of the window.
    void selectTokenadeDirectory();
    void selectRomsListFile();
    void auditRoms();
    void auditVideos();
    void didClickRomsResultControl();
    void didClickVideosResultControl();
    void didClickCheckAvailableRomVideosOnly();
    void saveRomsResult();
    void saveVideosResult();
    void openHomepage();

    // What the window offers besides: a path dropped on it (as if chosen),
    // the About box, the filter above each result view, Ctrl+1 to Ctrl+4, the
    // commands on the lines of a result view and on the notices above it.
    void useTokenadeDirectory(const QString& directory);
    void useRomsListFile(const QString& path);
    void pathFieldsChanged();
    void directoryFieldConfirmed();
    void showAbout();
    void focusFilter();
    void filterChanged(tokenade::AuditKind kind);
    void pickCategory(int segment);
    void copyFullPaths(tokenade::AuditKind kind);
    void openContainingFolder(tokenade::AuditKind kind);
    void noticeLinkActivated(tokenade::AuditKind kind);
    // The near misses: their view, an offer ticked or not, renaming the
    // ticked ones. Filling the missing names from a folder, setting the
    // selected unknown or extra files aside, stopping a batch between its
    // files, and undoing the newest batch of any kind.
    void showNearMisses(tokenade::AuditKind kind);
    void nearMissTicked(tokenade::AuditKind kind, int item, bool ticked);
    void renameNearMisses(tokenade::AuditKind kind);
    void fillFromFolder(tokenade::AuditKind kind);
    void fillTicked(tokenade::AuditKind kind, int item, bool ticked);
    void fillInto(tokenade::AuditKind kind, int folder);
    void copyFill(tokenade::AuditKind kind);
    void setAsideSelected(tokenade::AuditKind kind);
    void resultSelectionChanged(tokenade::AuditKind kind) { showSetAsideCommand(kind); }
    void stopChanges();
    void undoLastChanges();

    // The window's elements.
    QLineEdit* tokenadeDirPathTextField() const { return window_.tokenadeDirPathTextField; }
    QLineEdit* romsListPathTextField() const { return window_.romsListPathTextField; }
    ReportView* romsResultView() const { return tab(tokenade::AuditKind::Roms).resultView; }
    SegmentedControl* romsResultControl() const { return tab(tokenade::AuditKind::Roms).resultControl; }
    ReportView* videosResultView() const { return tab(tokenade::AuditKind::Videos).resultView; }
    SegmentedControl* videosResultControl() const { return tab(tokenade::AuditKind::Videos).resultControl; }
    QCheckBox* checkAvailableRomVideosOnly() const { return window_.checkAvailableRomVideosOnly; }
    QLabel* progressLabel() const { return window_.progressLabel; }
    BusyIndicator* progressIndicator() const { return window_.progressIndicator; }
    QTabWidget* tabView() const { return window_.tabView; }
    const TabElements& tab(tokenade::AuditKind kind) const { return tabs_[kind].elements; }

    // The seven result lists: the categories of the session's last results,
    // each valid until the next audit of its kind finishes.
    const tokenade::ResultList& _missingRoms() const
    {
        return list(tokenade::AuditKind::Roms, tokenade::CategoryId::Missing);
    }
    const tokenade::ResultList& _validRoms() const
    {
        return list(tokenade::AuditKind::Roms, tokenade::CategoryId::Valid);
    }
    const tokenade::ResultList& _unknownRoms() const
    {
        return list(tokenade::AuditKind::Roms, tokenade::CategoryId::Unknown);
    }
    const tokenade::ResultList& _missingVideos() const
    {
        return list(tokenade::AuditKind::Videos, tokenade::CategoryId::Missing);
    }
    const tokenade::ResultList& _validVideos() const
    {
        return list(tokenade::AuditKind::Videos, tokenade::CategoryId::Valid);
    }
    const tokenade::ResultList& _extraVideos() const
    {
        return list(tokenade::AuditKind::Videos, tokenade::CategoryId::Extra);
    }
    const tokenade::ResultList& _unknownVideos() const
    {
        return list(tokenade::AuditKind::Videos, tokenade::CategoryId::Unknown);
    }

    // The state behind the window, for whoever shows or checks it.
    const tokenade::AuditSession& session() const { return session_; }

private:
    using AuditJob = tokenade::AuditOutcome (*)(const tokenade::AuditInputs&, std::stop_token,
                                                const JobRunner::Reporter&);
    // One tab: the elements the window gave, what its filter field narrows
    // its view to, and the steps of its audit.
    struct Tab {
        TabElements elements;
        tokenade::NameFilter filter;
        AuditJob inBackground = nullptr;
        void (QVAppDelegate::*didFinish)(tokenade::AuditOutcome) = nullptr;
        std::string fillSource;  // the folder the last fill was planned from
        size_t fillTarget = 0;   // the folder of the set its copies go to
    };

    const tokenade::ResultList& list(tokenade::AuditKind kind, tokenade::CategoryId id) const
    {
        return session_.result(kind).list(id);
    }

    // Steps.
    void loadUserDefaults();
    void saveUserDefaults();
    static std::optional<std::string> findRomListFile(const std::string& directory, std::stop_token stop);
    void didFindRomListFile(const std::string& directory, const std::optional<std::string>& found);
    static tokenade::AuditOutcome auditRomsInBackground(const tokenade::AuditInputs& inputs, std::stop_token stop,
                                                        const JobRunner::Reporter& report);
    void didFinishAuditRoms(tokenade::AuditOutcome outcome);
    static tokenade::AuditOutcome auditVideosInBackground(const tokenade::AuditInputs& inputs,
                                                          std::stop_token stop, const JobRunner::Reporter& report);
    void didFinishAuditVideos(tokenade::AuditOutcome outcome);
    void showInvalidRomsListAlert(const tokenade::ListProblem& problem);

    // What every audit does at its start and at its end.
    void audit(tokenade::AuditKind kind);
    void startAudit(tokenade::AuditKind kind);
    void finishAudit(tokenade::AuditKind kind, tokenade::AuditOutcome&& outcome);
    void setStatus(std::string_view text);
    void takePathsFromFields();
    void startDiscovery(const QString& directory);

    // Showing the session in the widgets.
    void showCommands();
    void showSegmentLabels(tokenade::AuditKind kind);
    void showSelectedCategory(tokenade::AuditKind kind);
    void showNotices(tokenade::AuditKind kind);
    const tokenade::ResultCategory* selectedCategory(tokenade::AuditKind kind) const;
    std::optional<tokenade::AuditKind> shownKind() const;
    void saveResult(tokenade::AuditKind kind);
    void reportFailedWrites(const std::vector<tokenade::WriteError>& failures);

    // The filter above a result view.
    void applyFilter(tokenade::AuditKind kind);
    void continueFiltering();
    QString filteredHeader(tokenade::AuditKind kind) const;

    // The near misses, fills, set-asides and their undoing.
    void offerRenames(tokenade::AuditKind kind);
    void didPlanRenames(tokenade::AuditKind kind, const std::shared_ptr<const tokenade::AuditResult>& planned,
                        tokenade::ChangePlan plan);
    void fillNearMissesView(tokenade::AuditKind kind);
    void didPlanFill(tokenade::AuditKind kind, tokenade::ChangePlan plan);
    void showFillSummary(tokenade::AuditKind kind);
    void showSetAsideCommand(tokenade::AuditKind kind);
    void findLastJournal();
    void showNearMissCommands();
    void makeChanges(tokenade::AuditKind kind, tokenade::BatchKind what, std::vector<tokenade::Change> changes);
    void didMakeChanges(tokenade::AuditKind kind, tokenade::BatchKind what, const tokenade::ChangeBatch& batch);
    void didUndoChanges(const tokenade::ChangeBatch& batch);

    tokenade::AuditSession session_;
    PlatformSeams seams_;
    WindowElements window_;  // its tabs are kept in tabs_
    tokenade::PerKind<Tab> tabs_;
    std::stop_source changeStop_;  // of the batch running, for its Cancel
    QTimer filterSlices_;  // runs the filters' slices while the window is idle
    bool terminated_ = false;
};
