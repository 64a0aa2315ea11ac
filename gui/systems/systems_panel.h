#pragma once

#include "core/session/systems_table.h"
#include "gui/changes/change_services.h"
#include "gui/systems/bars_export.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

class SystemBarsView;

// How complete each system of the ROM result is, in the bars beside the
// ROM results: by folder as soon as a result is adopted (one pass over its
// names, on the main thread), then by DAT once the identification by
// content of that result is made (the needs of every set are judged, so on
// a job that hands the whole table back). A part clicked asks the
// controller to show its names (`show`). The exports are BarsExport's.
class SystemsPanel : public QObject {
public:
    using ShowScope = std::function<void(const tokenade::SystemScope&)>;

    // `view` and `services` must outlive this; `show` is called on the main thread.
    SystemsPanel(SystemBarsView* view, const ChangeServices& services, ShowScope show);
    ~SystemsPanel() override;

    // A new ROM result was adopted, or the identification of the last one
    // was made or dropped: the bars are made anew.
    void resultAdopted();
    void identificationChanged();

private:
    void show(std::shared_ptr<const tokenade::SystemsTable> table);
    void partActivated(size_t row, tokenade::SystemCount count);

    SystemBarsView* view_;
    ChangeServices services_;
    ShowScope showScope_;
    BarsExport export_;
    std::shared_ptr<const tokenade::SystemsTable> table_;
    uint64_t asked_ = 0;  // the newest table asked for; an older one that comes back is dropped
};
