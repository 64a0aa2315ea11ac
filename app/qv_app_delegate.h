#pragma once

#include "audit/audit_run.h"
#include "platform/busy_indicator.h"
#include "platform/foundation/atomic_write.h"
#include "platform/report_view.h"
#include "platform/segmented_control.h"
#include "sources/name_list.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QTabWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class Alert;
class Browser;
class FileChooser;
class MainThreadMailbox;
class Preferences;

// The services of the desktop that the controller uses, replaceable in tests.
struct PlatformSeams {
    FileChooser& chooser;
    Alert& alert;
    Browser& browser;
    Preferences& preferences;
};

// The one controller of the window: it owns the seven result lists, holds the
// window's elements, and runs every command. Commands and steps run on the
// main thread; audits and the list discovery run on threads of their own that
// work on a copy of their inputs and hand their results back whole, so that no
// thread but the main one ever touches an element or a result list.
class QVAppDelegate : public QObject {
    Q_OBJECT

public:
    explicit QVAppDelegate(const PlatformSeams& seams, QObject* parent = nullptr);
    ~QVAppDelegate() override;  // teardown

    // Life of the application.
    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    void loadUserDefaults();
    void saveUserDefaults();

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

    // Steps of the audits and of the discovery. The three that run on a
    // thread of their own are static: they never touch the controller, only
    // post calls to it through the mailbox.
    static void auditRomsInBackground(QVAppDelegate* controller, const tokenade::AuditInputs& inputs,
                                      MainThreadMailbox& mailbox);
    void didFinishAuditRoms(std::optional<tokenade::RomAuditResult> result);
    static void auditVideosInBackground(QVAppDelegate* controller, const tokenade::AuditInputs& inputs,
                                        MainThreadMailbox& mailbox);
    void didFinishAuditVideos(std::optional<tokenade::VideoAuditResult> result);
    void showInvalidRomsListAlert();
    static void findRomListFile(QVAppDelegate* controller, const std::string& directory,
                                MainThreadMailbox& mailbox);

    // The window's elements.
    QLineEdit* tokenadeDirPathTextField() const { return _tokenadeDirPathTextField; }
    void setTokenadeDirPathTextField(QLineEdit* element) { _tokenadeDirPathTextField = element; }
    QLineEdit* romsListPathTextField() const { return _romsListPathTextField; }
    void setRomsListPathTextField(QLineEdit* element) { _romsListPathTextField = element; }
    ReportView* romsResultView() const { return _romsResultView; }
    void setRomsResultView(ReportView* element) { _romsResultView = element; }
    SegmentedControl* romsResultControl() const { return _romsResultControl; }
    void setRomsResultControl(SegmentedControl* element) { _romsResultControl = element; }
    ReportView* videosResultView() const { return _videosResultView; }
    void setVideosResultView(ReportView* element) { _videosResultView = element; }
    SegmentedControl* videosResultControl() const { return _videosResultControl; }
    void setVideosResultControl(SegmentedControl* element) { _videosResultControl = element; }
    QCheckBox* checkAvailableRomVideosOnly() const { return _checkAvailableRomVideosOnly; }
    void setCheckAvailableRomVideosOnly(QCheckBox* element) { _checkAvailableRomVideosOnly = element; }
    QLabel* progressLabel() const { return _progressLabel; }
    void setProgressLabel(QLabel* element) { _progressLabel = element; }
    BusyIndicator* progressIndicator() const { return _progressIndicator; }
    void setProgressIndicator(BusyIndicator* element) { _progressIndicator = element; }
    QTabWidget* tabView() const { return _tabView; }
    void setTabView(QTabWidget* element) { _tabView = element; }

    // The audit commands, disabled while their audit runs.
    void setAuditCommands(QAction* auditRoms, QAction* auditVideos);

    // The result lists, read-only, for whoever shows or checks them.
    const tokenade::NameList& missingRoms() const { return _missingRoms; }
    const tokenade::NameList& validRoms() const { return _validRoms; }
    const tokenade::NameList& unknownRoms() const { return _unknownRoms; }
    const tokenade::NameList& missingVideos() const { return _missingVideos; }
    const tokenade::NameList& validVideos() const { return _validVideos; }
    const tokenade::NameList& extraVideos() const { return _extraVideos; }
    const tokenade::NameList& unknownVideos() const { return _unknownVideos; }

    bool isAuditing() const { return runningAudits_ > 0; }

Q_SIGNALS:
    // Emitted at the end of each finishing step, and when a discovery has ended.
    void romsAuditFinished();
    void videosAuditFinished();
    void romListDiscoveryFinished();

private:
    void startAudit(ReportView* view, QAction* command);
    void finishAudit(ReportView* view, SegmentedControl* control, QAction* command);
    void setStatus(const QString& text);
    static tokenade::AuditProgress progressTo(QVAppDelegate* controller, MainThreadMailbox& mailbox);
    template <typename Result>
    static void handBack(QVAppDelegate* controller, MainThreadMailbox& mailbox, std::optional<Result> result,
                         void (QVAppDelegate::*finish)(std::optional<Result>));
    tokenade::AuditInputs auditInputs() const;
    void reportFailedWrites(const std::vector<tokenade::WriteError>& failures);

    tokenade::NameList _missingRoms;
    tokenade::NameList _validRoms;
    tokenade::NameList _unknownRoms;
    tokenade::NameList _missingVideos;
    tokenade::NameList _validVideos;
    tokenade::NameList _extraVideos;
    tokenade::NameList _unknownVideos;

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

    QPointer<QAction> auditRomsCommand_;
    QPointer<QAction> auditVideosCommand_;

    PlatformSeams seams_;
    std::shared_ptr<MainThreadMailbox> mailbox_;
    int runningAudits_ = 0;
    bool terminated_ = false;
};
