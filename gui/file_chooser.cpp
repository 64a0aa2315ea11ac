#include "file_chooser.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>

namespace {

constexpr int kFolderChosen = QDialog::Accepted + 1;

// The desktop's dialogs choose a file or a folder, never either: the
// dialog drawn by Qt gets a second button that takes the folder it shows.
void offerTheFolderShown(QFileDialog& dialog, const QString& prompt)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    if (!buttons)
        return;
    QPushButton* folder = buttons->addButton(prompt, QDialogButtonBox::ActionRole);
    QObject::connect(folder, &QPushButton::clicked, &dialog, [&dialog] { static_cast<QDialog&>(dialog).done(kFolderChosen); });
}

}  // namespace

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
        if (options.canChooseDirectories)
            offerTheFolderShown(dialog, options.folderPrompt);
    }
    if (!options.allowedFileTypes.isEmpty()) {
        QStringList patterns;
        for (const QString& type : options.allowedFileTypes)
            patterns << QStringLiteral("*.") + type;
        dialog.setNameFilter(patterns.join(QLatin1Char(' ')));
    }
    const int answer = dialog.exec();
    if (answer == kFolderChosen)
        return dialog.directory().absolutePath();
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
