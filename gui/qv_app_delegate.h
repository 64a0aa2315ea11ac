#pragma once

#include "core/session/audit_session.h"
#include "core/session/job_runner.h"
#include "core/session/name_filter.h"
#include "core/session/systems_table.h"
#include "gui/platform_seams.h"
#include "gui/window_elements.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class SystemsPanel;
class WindowChanges;

// The one controller of the window, with the program's own commands, steps,
// elements and result lists, kept in an AuditSession and shown in the
// widgets. Audits and the list discovery run as jobs on a copy of their inputs
// and hand their results back whole: only the main thread touches an element
// or a list. The changes to a collection live in WindowChanges (gui/changes),
// which the controller wires and tells of each result; it alone audits again.
// The bars of the systems beside the ROM results live in SystemsPanel
// (gui/systems), told of each ROM result and identification; a part
// clicked there comes back as showSystem.
class QVAppDelegate : public QObject {
    Q_OBJECT

public:
    explicit QVAppDelegate(const PlatformSeams& seams, QObject* parent = nullptr);
    ~QVAppDelegate() override;  // teardown: stops the jobs, drops the elements

    // Takes the window's elements, which must stay alive until the controller
    // is destroyed, and hands those of the changes on. Once, before start-up.
    void attach(const WindowElements& elements);
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

    // Besides: the optional DAT, chosen like the list; a path dropped (as if chosen), About, the filters, Ctrl+1 to
    // Ctrl+4, the commands on the lines of a result view and on its notices.
    void useTokenadeDirectory(const QString& directory);
    void useRomsListFile(const QString& path);
    void selectDatFile();
    void useDatFile(const QString& path);
    void pathFieldsChanged();
    void directoryFieldConfirmed();
    void showAbout();
    void focusFilter();
    void filterChanged(tokenade::AuditKind kind);
    void pickCategory(int segment);
    void copyFullPaths(tokenade::AuditKind kind);
    void openContainingFolder(tokenade::AuditKind kind);
    void noticeLinkActivated(tokenade::AuditKind kind);
    // The ROM results show the category of `scope`, only the names of its
    // system, still narrowed by the filter's text; another category picked,
    // or a new result, shows every name again.
    void showSystem(const tokenade::SystemScope& scope);

    // The window's elements.
    QLineEdit* tokenadeDirPathTextField() const { return window_.tokenadeDirPathTextField; }
    QLineEdit* romsListPathTextField() const { return window_.romsListPathTextField; }
    QLineEdit* datPathTextField() const { return window_.datPathTextField; }
    ReportView* romsResultView() const { return tab(Roms).resultView; }
    SegmentedControl* romsResultControl() const { return tab(Roms).resultControl; }
    ReportView* videosResultView() const { return tab(Videos).resultView; }
    SegmentedControl* videosResultControl() const { return tab(Videos).resultControl; }
    QCheckBox* checkAvailableRomVideosOnly() const { return window_.checkAvailableRomVideosOnly; }
    QLabel* progressLabel() const { return window_.progressLabel; }
    BusyIndicator* progressIndicator() const { return window_.progressIndicator; }
    QTabWidget* tabView() const { return window_.tabView; }
    const TabElements& tab(tokenade::AuditKind kind) const { return tabs_[kind].elements; }

    // The seven result lists, each valid until the next audit of its kind ends.
    const tokenade::ResultList& _missingRoms() const { return session_.result(Roms).list(Category::Missing); }
    const tokenade::ResultList& _validRoms() const { return session_.result(Roms).list(Category::Valid); }
    const tokenade::ResultList& _unknownRoms() const { return session_.result(Roms).list(Category::Unknown); }
    const tokenade::ResultList& _missingVideos() const { return session_.result(Videos).list(Category::Missing); }
    const tokenade::ResultList& _validVideos() const { return session_.result(Videos).list(Category::Valid); }
    const tokenade::ResultList& _extraVideos() const { return session_.result(Videos).list(Category::Extra); }
    const tokenade::ResultList& _unknownVideos() const { return session_.result(Videos).list(Category::Unknown); }

    // The state behind the window, for whoever shows or checks it.
    const tokenade::AuditSession& session() const { return session_; }

private:
    static constexpr tokenade::AuditKind Roms = tokenade::AuditKind::Roms;
    static constexpr tokenade::AuditKind Videos = tokenade::AuditKind::Videos;
    using Category = tokenade::CategoryId;
    struct Tab {
        TabElements elements;
        tokenade::NameFilter filter;  // what the filter field narrows the view to
        std::optional<tokenade::SystemScope> system;  // the system a bar narrowed the view to
    };

    // Steps.
    void loadUserDefaults();
    void saveUserDefaults();
    static std::optional<std::string> findRomListFile(const std::string& directory, std::stop_token stop);
    void didFindRomListFile(const std::string& directory, const std::optional<std::string>& found);
    static tokenade::AuditOutcome auditRomsInBackground(const tokenade::AuditInputs&, std::stop_token,
                                                        const JobRunner::Reporter&);
    void didFinishAuditRoms(tokenade::AuditOutcome outcome);
    static tokenade::AuditOutcome auditVideosInBackground(const tokenade::AuditInputs&, std::stop_token,
                                                          const JobRunner::Reporter&);
    void didFinishAuditVideos(tokenade::AuditOutcome outcome);
    void showInvalidRomsListAlert(const tokenade::ListProblem& problem);

    // What every audit does at its start and at its end; after a change, which kinds it audits again.
    void audit(tokenade::AuditKind kind);
    void startAudit(tokenade::AuditKind kind);
    void finishAudit(tokenade::AuditKind kind, tokenade::AuditOutcome&& outcome);
    void auditAgain(const std::vector<tokenade::AuditKind>& kinds);
    void setStatus(std::string_view text);
    void takePathsFromFields();
    void startDiscovery(const QString& directory);

    // The session in the widgets: commands, segments, the category with its filter, notices.
    void showCommands();
    void showSegmentLabels(tokenade::AuditKind kind);
    void showSelectedCategory(tokenade::AuditKind kind);
    const tokenade::ResultCategory* selectedCategory(tokenade::AuditKind kind) const;
    std::optional<tokenade::AuditKind> shownKind() const;
    void applyFilter(tokenade::AuditKind kind);
    void continueFiltering();
    QString filteredHeader(tokenade::AuditKind kind) const;
    const tokenade::SystemScope* shownSystem(tokenade::AuditKind kind) const;
    void showMatches(tokenade::AuditKind kind, bool more);
    void showNotices(tokenade::AuditKind kind);
    void saveResult(tokenade::AuditKind kind);
    void openFolder(const std::string& folder);

    tokenade::AuditSession session_;
    PlatformSeams seams_;
    WindowElements window_;  // its tabs are kept in tabs_, its changes handed to changes_
    tokenade::PerKind<Tab> tabs_;
    std::unique_ptr<WindowChanges> changes_;
    std::unique_ptr<SystemsPanel> systems_;
    QTimer filterSlices_;  // runs the filters' slices while the window is idle
    bool terminated_ = false;
};
