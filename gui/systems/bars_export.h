#pragma once

#include "gui/changes/change_services.h"

#include <QObject>

class SystemBarsView;

// Exports the bars as the view shows them, as a PNG picture or an SVG
// drawing, where the user chooses. The chosen file goes through the same
// refusals as a fixdat (never the DAT, the list, a file inside the
// collection, a link or what is no regular file) and is written atomically:
// an export that fails leaves whatever was there, and an alert says why.
// The chooser starts in the folder of the last export.
class BarsExport : public QObject {
public:
    enum class Format { Png, Svg };

    // `view` and `services` must outlive this.
    BarsExport(SystemBarsView* view, const ChangeServices& services);

    void exportAs(Format format);

private:
    std::optional<QString> chooseFile(Format format);
    void refuse(const QString& path, const QString& why);

    SystemBarsView* view_;
    ChangeServices services_;
};
