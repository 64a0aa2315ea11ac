#pragma once

#include "core/session/audit_session.h"
#include "core/session/job_runner.h"
#include "core/session/name_filter.h"
#include "gui/busy_indicator.h"
#include "gui/near_misses_view.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QTabWidget>
#include <QToolButton>
#include <QTimer>

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

class Alert;
class Browser;
class FileChooser;
class MainWindow;
class Preferences;
namespace tokenade {
struct WriteError;
struct RenameBatch;
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
class QVAppDelegate : public QObject {
    Q_OBJECT

public:
    explicit QVAppDelegate(const PlatformSeams& seams, QObject* parent = nullptr);
    ~QVAppDelegate() override;  // teardown

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
    // the About box, the filter above each result view, Ctrl+1 to Ctrl+4,
    // and the commands on the lines of a result view.
    void useTokenadeDirectory(const QString& directory);
    void useRomsListFile(const QString& path);
    void showAbout();
    void focusFilter();
    void filterChanged(tokenade::AuditKind kind);
    void pickCategory(int segment);
    void copyFullPaths(tokenade::AuditKind kind);
    void openContainingFolder(tokenade::AuditKind kind);
    // The near misses: their view, a pair ticked or not, renaming the ticked
    // ones, and undoing the last renames.
    void showNearMisses(tokenade::AuditKind kind);
    void nearMissTicked(tokenade::AuditKind kind, int pair, bool ticked);
    void renameNearMisses(tokenade::AuditKind kind);
    void undoLastRenames();

    // The window's elements.
    QLineEdit* tokenadeDirPathTextField() const { return _tokenadeDirPathTextField; }
    QLineEdit* romsListPathTextField() const { return _romsListPathTextField; }
    ReportView* romsResultView() const { return _romsResultView; }
    SegmentedControl* romsResultControl() const { return _romsResultControl; }
    ReportView* videosResultView() const { return _videosResultView; }
    SegmentedControl* videosResultControl() const { return _videosResultControl; }
    QCheckBox* checkAvailableRomVideosOnly() const { return _checkAvailableRomVideosOnly; }
    QLabel* progressLabel() const { return _progressLabel; }
    BusyIndicator* progressIndicator() const { return _progressIndicator; }
    QTabWidget* tabView() const { return _tabView; }
    QLineEdit* filterField(tokenade::AuditKind kind) const;

    // The state behind the window, for whoever shows or checks it.
    const tokenade::AuditSession& session() const { return session_; }

private:
    tokenade::AuditSession session_;

public:
    // The seven result lists, read-only: the categories of the session's
    // last results, which keep their places from start-up to teardown.
    const tokenade::ResultList& _missingRoms;
    const tokenade::ResultList& _validRoms;
    const tokenade::ResultList& _unknownRoms;
    const tokenade::ResultList& _missingVideos;
    const tokenade::ResultList& _validVideos;
    const tokenade::ResultList& _extraVideos;
    const tokenade::ResultList& _unknownVideos;

private:
    // Attaching the window's elements and commands is the window's wiring.
    friend void attachWindow(MainWindow& window, QVAppDelegate& controller);
    void setTokenadeDirPathTextField(QLineEdit* element) { _tokenadeDirPathTextField = element; }
    void setRomsListPathTextField(QLineEdit* element) { _romsListPathTextField = element; }
    void setRomsResultView(ReportView* element) { _romsResultView = element; }
    void setRomsResultControl(SegmentedControl* element) { _romsResultControl = element; }
    void setVideosResultView(ReportView* element) { _videosResultView = element; }
    void setVideosResultControl(SegmentedControl* element) { _videosResultControl = element; }
    void setCheckAvailableRomVideosOnly(QCheckBox* element) { _checkAvailableRomVideosOnly = element; }
    void setProgressLabel(QLabel* element) { _progressLabel = element; }
    void setProgressIndicator(BusyIndicator* element) { _progressIndicator = element; }
    void setTabView(QTabWidget* element) { _tabView = element; }
    void setCommands(const std::vector<std::pair<QAction*, tokenade::AuditKind>>& audits,
                     const std::vector<std::pair<QAction*, tokenade::AuditKind>>& saves);
    void setNoticeAreas(QLabel* roms, QLabel* videos);
    void setFilterFields(QLineEdit* roms, QLineEdit* videos);
    struct NearMissElements {
        tokenade::AuditKind kind;
        QPointer<QToolButton> button;
        QPointer<NearMissesView> view;
    };
    void setNearMissElements(const std::vector<NearMissElements>& elements);
    void setUndoCommand(QAction* undo);

    // What the wiring calls besides the commands.
    void pathFieldsChanged();
    void directoryFieldConfirmed();
    void noticeLinkActivated(tokenade::AuditKind kind);

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
    void startAuditJob(tokenade::AuditKind kind,
                       tokenade::AuditOutcome (*background)(const tokenade::AuditInputs&, std::stop_token,
                                                            const JobRunner::Reporter&),
                       void (QVAppDelegate::*finish)(tokenade::AuditOutcome));
    void startAudit(tokenade::AuditKind kind);
    void finishAudit(tokenade::AuditKind kind, tokenade::AuditOutcome&& outcome);
    void setStatus(std::string_view text);
    void showSelectedCategory(tokenade::AuditKind kind);
    void showNotices(tokenade::AuditKind kind);
    void startDiscovery(const QString& directory);
    void showCommands();
    void saveResult(tokenade::AuditKind kind);
    void reportFailedWrites(const std::vector<tokenade::WriteError>& failures);
    void takePathsFromFields();
    ReportView* resultView(tokenade::AuditKind kind) const;
    SegmentedControl* resultControl(tokenade::AuditKind kind) const;
    const tokenade::ResultCategory* selectedCategory(tokenade::AuditKind kind) const;
    void showSegmentLabels(tokenade::AuditKind kind);
    void applyFilter(tokenade::AuditKind kind);
    void continueFiltering();
    QString filteredHeader(tokenade::AuditKind kind) const;
    tokenade::NameFilter& nameFilter(tokenade::AuditKind kind);
    NearMissesView* nearMissesView(tokenade::AuditKind kind) const;
    void fillNearMissesView(tokenade::AuditKind kind);
    void findLastJournal();
    void showNearMissCommands();
    void didFinishRenames(tokenade::AuditKind kind, const tokenade::RenameBatch& batch);
    void didUndoRenames(const tokenade::RenameBatch& batch);

    QPointer<QLineEdit> _tokenadeDirPathTextField;
    QPointer<QLineEdit> _romsListPathTextField;
    QPointer<ReportView> _romsResultView;
    QPointer<SegmentedControl> _romsResultControl;
    QPointer<ReportView> _videosResultView;
    QPointer<SegmentedControl> _videosResultControl;
    QPointer<QCheckBox> _checkAvailableRomVideosOnly;
    QPointer<QLabel> _progressLabel;
    QPointer<BusyIndicator> _progressIndicator;
    QPointer<QTabWidget> _tabView;

    std::vector<std::pair<QPointer<QAction>, tokenade::AuditKind>> auditCommands_;
    std::vector<std::pair<QPointer<QAction>, tokenade::AuditKind>> saveCommands_;
    QPointer<QLabel> romsNotice_;
    QPointer<QLabel> videosNotice_;
    QPointer<QLineEdit> romsFilterField_;
    QPointer<QLineEdit> videosFilterField_;
    tokenade::NameFilter romsFilter_;
    tokenade::NameFilter videosFilter_;
    QTimer filterSlices_;  // runs the filters' slices while the window is idle
    std::vector<NearMissElements> nearMissElements_;
    QPointer<QAction> undoCommand_;
    PlatformSeams seams_;
    bool terminated_ = false;
};
