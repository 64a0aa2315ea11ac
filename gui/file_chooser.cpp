#include "file_chooser.h"

#include <QFileDialog>

std::optional<QString> QtFileChooser::choose(const ChooserOptions& options)
{
    QFileDialog dialog(parent_, options.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, options.prompt);
    dialog.setOption(QFileDialog::ReadOnly, !options.canMakeFolders);
    if (!options.startFolder.isEmpty())
        dialog.setDirectory(options.startFolder);
    if (options.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (!options.allowedFileTypes.isEmpty())
            dialog.setDefaultSuffix(options.allowedFileTypes.constFirst());
        dialog.selectFile(options.suggestedName);
    } else if (options.canChooseDirectories && !options.canChooseFiles) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!options.allowedFileTypes.isEmpty()) {
        QStringList patterns;
        for (const QString& type : options.allowedFileTypes)
            patterns << QStringLiteral("*.") + type;
        dialog.setNameFilter(patterns.join(QLatin1Char(' ')));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
