#include "bars_export.h"

#include "core/foundation/atomic_write.h"
#include "core/repair/output_target.h"
#include "core/session/audit_session.h"
#include "gui/alert.h"
#include "gui/file_chooser.h"
#include "gui/preferences.h"
#include "gui/qt_strings.h"
#include "gui/systems/system_bars_view.h"

#include <QAction>
#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

namespace {

const QString kFolderKey = QStringLiteral("SystemsExportFolder");

QString extensionOf(BarsExport::Format format)
{
    return format == BarsExport::Format::Png ? QStringLiteral("png") : QStringLiteral("svg");
}

QByteArray pngOf(SystemBarsView& view)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    view.grab().save(&buffer, "PNG");
    return bytes;
}

QByteArray svgOf(SystemBarsView& view)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(view.size());
    svg.setViewBox(view.rect());
    svg.setTitle(QStringLiteral("Completeness by system"));
    QPainter painter(&svg);
    view.paintBars(painter);
    painter.end();
    return bytes;
}

}  // namespace

BarsExport::BarsExport(SystemBarsView* view, const ChangeServices& services)
    : view_(view)
    , services_(services)
{
    connect(view_->exportPngAction(), &QAction::triggered, this, [this] { exportAs(Format::Png); });
    connect(view_->exportSvgAction(), &QAction::triggered, this, [this] { exportAs(Format::Svg); });
}

std::optional<QString> BarsExport::chooseFile(Format format)
{
    ChooserOptions options;
    options.save = true;
    options.allowedFileTypes = {extensionOf(format)};
    options.title = QStringLiteral("Export the bars of the systems");
    options.prompt = QStringLiteral("Export");
    options.startFolder = services_.preferences.stringForKey(kFolderKey).value_or(QString());
    options.suggestedName = QStringLiteral("systems.") + extensionOf(format);
    std::optional<QString> chosen = services_.chooser.choose(options);
    // A name typed without its extension gets it, so the file opens as what it is.
    if (chosen && QFileInfo(*chosen).suffix().isEmpty())
        *chosen += QStringLiteral(".") + extensionOf(format);
    return chosen;
}

void BarsExport::exportAs(Format format)
{
    const std::optional<QString> chosen = chooseFile(format);
    if (!chosen)
        return;
    services_.preferences.setString(kFolderKey, QFileInfo(*chosen).absolutePath());
    const std::string path = toLocalPath(*chosen);
    const auto& madeFrom = services_.session.madeFrom(tokenade::AuditKind::Roms);
    tokenade::OutputGuard guard{{{"the DAT", services_.session.datPath()}}, {}};
    if (madeFrom) {
        guard.inputs.push_back({"the supported roms list", madeFrom->romsListPath});
        guard.collection = madeFrom->tokenadeDirPath;
    }
    if (const std::string why = tokenade::whyNotAnOutputFile(path, guard); !why.empty())
        return refuse(*chosen, toQString(why));
    const QByteArray bytes = format == Format::Png ? pngOf(*view_) : svgOf(*view_);
    if (bytes.isEmpty())
        return refuse(*chosen, QStringLiteral("the picture could not be made"));
    if (const auto failure = tokenade::writeFileAtomically(path, std::string_view(bytes.constData(), bytes.size())))
        refuse(fromLocalPath(failure->path), toQString(failure->reason));
}

void BarsExport::refuse(const QString& path, const QString& why)
{
    services_.alert.show(QStringLiteral("The bars were not exported"), path + QStringLiteral(": ") + why,
                         QStringLiteral("OK"));
}
