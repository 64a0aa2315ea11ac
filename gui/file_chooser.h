#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// What a modal open chooser offers.
struct ChooserOptions {
    bool canChooseDirectories = false;
    bool canChooseFiles = false;
    QStringList allowedFileTypes;  // extensions without the period; empty: any
    QString title;
    QString prompt;  // label of the confirming button
    QString folderPrompt;  // files and folders: label of the button that takes the folder shown
    QString startFolder;          // the folder shown first; "": the platform's choice
    bool canMakeFolders = false;  // a new folder can be made in the chooser
    bool save = false;            // a file to write, new or not, instead of one to open
    QString suggestedName;        // save: the name offered first
};

// A modal chooser for one existing folder or file, or for a file to write.
// Offered both folders and files, it chooses a file, or the folder it shows.
// Returns the absolute path of the chosen item, or nothing when the user
// cancels.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::optional<QString> choose(const ChooserOptions& options) = 0;
};

// The chooser of the desktop, through Qt's file dialog.
class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent) : parent_(parent) {}
    std::optional<QString> choose(const ChooserOptions& options) override;

private:
    QWidget* parent_;
};
